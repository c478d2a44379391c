// The sample site on loopback, reached under the real host names through the
// connect-to map, the built-in rule server, and the rows the site's catalog
// says each page must give.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/ExtractorWindow.h"
#include "extract/Sites.h"
#include "net/ConnectTo.h"
#include "rules/BuiltinRuleServer.h"
#include "sample-site/SampleSite.h"
#include "support/ExpectedRows.h"

namespace gleaner::e2e {

class SiteFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The targets the site was asked for on one host, in order.
  std::vector<std::string> targetsOn(const std::string& host) const;

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
