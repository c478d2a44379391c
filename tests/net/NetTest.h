// Base of the tests that change what all transfers share: every test leaves
// the connect-to map empty, the limits at their defaults and transfers
// allowed, whatever it did.
#pragma once

#include <gtest/gtest.h>

#include "net/InternetClient.h"

namespace gleaner::testing {

class NetTest : public ::testing::Test {
 protected:
  void TearDown() override {
    InternetClient::setConnectTo({});
    InternetClient::setLimits({});
    InternetClient::abortAllTransfers(false);
  }

  static void useShortStallLimit() {
    InternetClient::Limits limits;
    limits.stallTimeout = std::chrono::seconds(1);
    InternetClient::setLimits(limits);
  }
};

}  // namespace gleaner::testing
