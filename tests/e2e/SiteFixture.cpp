#include "SiteFixture.h"

#include <chrono>

#include "engine/PauseSwitch.h"
#include "engine/RunController.h"
#include "net/InternetClient.h"
#include "support/WaitFor.h"

namespace gleaner::e2e {

void SiteFixture::SetUp() {
  site.start();
  rules.start();
  sites.ruleServer = rules.hostPort();
  previousConnectTo_ = InternetClient::connectTo();
  InternetClient::setConnectTo(ConnectTo::parse(site.connectToList()));
}

void SiteFixture::TearDown() {
  InternetClient::setConnectTo(previousConnectTo_);
  rules.stop();
  site.stop();
}

std::vector<std::string> SiteFixture::targetsOn(const std::string& host) const {
  std::vector<std::string> targets;
  for (const auto& request : site.requests()) {
    if (request.host == host) targets.push_back(request.target);
  }
  return targets;
}

RunOutcome SiteFixture::runToTheEnd(const RunRequest& request) {
  watcher = std::make_unique<testing::RecordingWatcher>();
  PauseSwitch pause;
  RunController controller(*watcher, sites, pause);
  EXPECT_TRUE(controller.collect(request));
  EXPECT_TRUE(testing::waitFor([&] { return !controller.busy(); }, std::chrono::seconds(120))) << "the run did not end";
  const auto outcome = watcher->lastOutcome();
  EXPECT_TRUE(outcome) << "every run ends with an outcome";
  return outcome.value_or(RunOutcome{});
}

RunRequest SiteFixture::search(Job job, const std::string& keyword, int pages) const {
  RunSettings settings = RunSettings::defaults(job, sites.itemHost);
  settings.keyword = keyword;
  settings.pagesText = std::to_string(pages);
  return *readRunSettings(settings).request;
}

}  // namespace gleaner::e2e
