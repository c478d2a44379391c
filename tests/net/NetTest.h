// Base of the tests that change what all transfers share: every test leaves
// the connect-to map empty, the limits at their defaults and transfers
// allowed, whatever it did.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "net/InternetClient.h"
#include "net/InternetError.h"
#include "net/PageDownload.h"

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

// How the download of request failed; nothing (and a test failure) when it
// did not.
inline std::optional<InternetError> failureOf(const PageRequest& request) {
  try {
    downloadPage(request);
  } catch (const InternetError& error) {
    return error;
  }
  ADD_FAILURE() << request.address << " was downloaded";
  return std::nullopt;
}

}  // namespace gleaner::testing
