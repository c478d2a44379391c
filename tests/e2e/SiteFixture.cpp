#include "SiteFixture.h"

#include "net/InternetClient.h"

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

}  // namespace gleaner::e2e
