// A main window shown (not modally) for one test, closed and destroyed after it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "app/MainDialog.h"
#include "GuiTestSupport.h"

namespace gleaner::testing {

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    window = new MainDialog(sites);
    window->setMessagePresenter([this](const wxString& text) { messages.push_back(text); });
    window->setAddressOpener([this](const wxString& address) {
      openedAddresses.push_back(address);
      return true;
    });
    window->Show();
    pumpFor(100);
  }
  void TearDown() override {
    window->decideClose();
    window->Destroy();
    pumpFor(20);
  }

  Sites sites;
  MainDialog* window = nullptr;
  std::vector<wxString> messages;
  std::vector<wxString> openedAddresses;
};

}  // namespace gleaner::testing
