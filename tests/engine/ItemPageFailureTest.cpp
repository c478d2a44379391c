// A buyers run whose item page cannot be downloaded tells the user whether
// the address is wrong or the network failed, what to do, and the internet
// client's own words last.
#include <gtest/gtest.h>

#include <chrono>

#include "engine/PauseSwitch.h"
#include "engine/RunController.h"
#include "support/RecordingWatcher.h"
#include "support/WaitFor.h"
#include "text/GbkConvert.h"

namespace gleaner {
namespace {

using namespace std::chrono_literals;

// The one message a buyers run for address ends with.
std::string messageOfBuyersRun(const std::string& address) {
  testing::RecordingWatcher watcher;
  PauseSwitch pause;
  RunController controller(watcher, Sites{}, pause);
  RunRequest request;
  request.job = Job::Buyers;
  request.itemAddress = address;
  controller.collect(request);
  EXPECT_TRUE(testing::waitFor([&] { return !controller.busy(); }, 20s));
  const auto outcome = watcher.lastOutcome();
  if (!outcome) return {};
  EXPECT_EQ(outcome->kind, OutcomeKind::NothingDownloaded);
  EXPECT_EQ(gbk::toUtf8(outcome->statusLine).rfind("商品页面下载失败（", 0), 0u) << gbk::toUtf8(outcome->statusLine);
  return gbk::toUtf8(outcome->message);
}

std::string lastLine(const std::string& text) { return text.substr(text.rfind('\n') + 1); }

TEST(ItemPageFailure, AnAddressThatIsNoWebAddressIsTheUsersToCorrect) {
  for (const std::string address : {"", "shop12345.taobao.com", "item.htm?id=1", "ftp://item.taobao.com/item.htm?id=1"}) {
    SCOPED_TRACE(address);
    const std::string text = messageOfBuyersRun(address);
    EXPECT_EQ(text.rfind("商品页面下载失败：填写的不是淘宝单品网址。\r\n请在“淘宝单品买家采集”页填入单个商品页面的网址", 0), 0u)
        << text;
    EXPECT_NE(lastLine(text).find("not an http or https address"), std::string::npos) << text;
  }
}

TEST(ItemPageFailure, AnUnreachableServerIsTheNetworks) {
  const std::string text = messageOfBuyersRun("http://127.0.0.1:1/item.htm?id=19793658234");
  EXPECT_EQ(text.rfind("商品页面下载失败：网络连接失败。\r\n请检查网络连接", 0), 0u) << text;
  EXPECT_NE(lastLine(text).find("127.0.0.1"), std::string::npos) << "the client's report names the address: " << text;
}

}  // namespace
}  // namespace gleaner
