// A main window whose runs go to the sample site, started in-process on a
// loopback port; the site hosts are sent to it with the client's connect-to
// map, and the site serves the rule files too.
#pragma once

#include <gtest/gtest.h>
#include <wx/listctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MainDialog.h"
#include "app/MainWindowSession.h"
#include "engine/RunController.h"
#include "GuiTestSupport.h"
#include "net/ConnectTo.h"
#include "net/InternetClient.h"
#include "sample-site/SampleSite.h"

namespace gleaner::testing {

class SampleRunFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    site = std::make_unique<sample::SampleSite>(sample::SampleSite::Options{{}, std::nullopt, std::chrono::milliseconds(3000)});
    const int port = site->start();
    InternetClient::setConnectTo(ConnectTo::parse(site->connectToList()));
    InternetClient::abortAllTransfers(false);
    sites.ruleServer = "127.0.0.1:" + std::to_string(port);
    session = std::make_unique<MainWindowSession>(sites);
    window().setMessagePresenter([this](const wxString& text) { messages.push_back(text); });
    window().setAddressOpener([](const wxString&) { return true; });
    window().Show();
    pumpFor(50);
  }
  void TearDown() override {
    session.reset();
    pumpFor(20);
    site->stop();
    InternetClient::setConnectTo({});
  }

  MainDialog& window() { return session->dialog(); }

  // Presses collect and waits for the run's end message.
  bool collectAndWait(int timeoutMs = 60000) {
    const std::size_t before = messages.size();
    window().collect();
    return pumpUntil([&] { return messages.size() > before; }, timeoutMs);
  }

  // The list's rows as the engine wrote them (GBK).
  std::vector<ResultRow> listRows() {
    wxListCtrl& list = window().resultList();
    std::vector<ResultRow> rows(static_cast<std::size_t>(list.GetItemCount()));
    for (int r = 0; r < list.GetItemCount(); ++r) {
      for (int c = 0; c < 4; ++c) {
        rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
            gbk::fromUtf8(list.GetItemText(r, c).utf8_string());
      }
    }
    return rows;
  }

  std::unique_ptr<sample::SampleSite> site;
  Sites sites;
  std::unique_ptr<MainWindowSession> session;
  std::vector<wxString> messages;
};

}  // namespace gleaner::testing
