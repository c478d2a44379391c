// A main window whose runs go to the sample site, started in-process on a
// loopback port; the site hosts are sent to it with the client's connect-to
// map, and the site serves the rule files too.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MainDialog.h"
#include "app/MainWindowSession.h"
#include "app/ResultListView.h"
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

  // The list's rows as the engine wrote them (GBK), after checking that the
  // list control shows as many.
  std::vector<ResultRow> listRows() {
    window().syncList();
    const ResultModel& model = window().model();
    EXPECT_EQ(static_cast<std::size_t>(window().resultList().GetItemCount()), model.rowCount());
    std::vector<ResultRow> rows;
    EXPECT_TRUE(model.copyRows(model.state().epoch, 0, model.rowCount(), rows));
    return rows;
  }

  std::unique_ptr<sample::SampleSite> site;
  Sites sites;
  std::unique_ptr<MainWindowSession> session;
  std::vector<wxString> messages;
};

}  // namespace gleaner::testing
