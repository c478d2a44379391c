// The sample site on loopback, reached under the real host names through the
// connect-to map, the built-in rule server, and the rows the site's catalog
// says each page must give.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/RunOutcome.h"
#include "engine/RunRequest.h"
#include "extract/Sites.h"
#include "net/ConnectTo.h"
#include "rules/BuiltinRuleServer.h"
#include "sample-site/SampleSite.h"
#include "support/ExpectedRows.h"
#include "support/RecordingWatcher.h"

namespace gleaner::e2e {

class SiteFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The targets the site was asked for on one host, in order.
  std::vector<std::string> targetsOn(const std::string& host) const;

  // One run of request through the engine against the site, to its end:
  // what it told its watcher is in watcher (cleared first).
  RunOutcome runToTheEnd(const RunRequest& request);
  // A request of the job with the tab page's defaults and this keyword and
  // page count (buyers: the sample item).
  RunRequest search(Job job, const std::string& keyword, int pages) const;

  std::unique_ptr<testing::RecordingWatcher> watcher;

  sample::SampleSite site;
  BuiltinRuleServer rules;
  Sites sites;

 private:
  ConnectTo previousConnectTo_;
};

using testing::concat;
using testing::expectedBuyerRows;
using testing::expectedOfferRows;
using testing::expectedSellerRows;
using testing::gbkText;

}  // namespace gleaner::e2e
