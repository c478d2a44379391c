#include "sample-site/SampleSite.h"

#include <httplib.h>

#include <fstream>
#include <iterator>
#include <utility>

#include "rules/EmbeddedRules.h"
#include "sample-site/HostileFiller.h"
#include "sample-site/RawTargetServer.h"
#include "sample-site/SiteTarget.h"

namespace gleaner::sample {

namespace {

constexpr std::string_view kHtml = "text/html; charset=gbk";
constexpr std::string_view kRuleType = "text/plain; charset=gbk";

// The host name of a Host header: lower case, without a port.
std::string hostName(std::string_view header) {
  std::string name(header.substr(0, header.find(':')));
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

bool sameHost(const std::string& name, const std::string& configured) { return name == hostName(configured); }

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
bool endsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The part of path between prefix and suffix, when it is a plain name.
std::optional<std::string> nameBetween(std::string_view path, std::string_view prefix, std::string_view suffix) {
  if (path.size() <= prefix.size() + suffix.size() || !startsWith(path, prefix) || !endsWith(path, suffix)) {
    return std::nullopt;
  }
  std::string name(path.substr(prefix.size(), path.size() - prefix.size() - suffix.size()));
  if (name.find('/') != std::string::npos) return std::nullopt;
  return name;
}

// A page or offset number from a target; absurd values are capped.
int numberIn(const std::optional<std::string>& value, int fallback) {
  const long long number = SiteTarget::number(value, fallback);
  return number > 1000000 ? 1000000 : static_cast<int>(number);
}

SiteAnswer htmlAnswer(std::string body) { return {200, std::string(kHtml), std::move(body), {}}; }

}  // namespace

SampleSite::SampleSite() : SampleSite(Options{}) {}

SampleSite::SampleSite(Options options)
    : options_(std::move(options)), pages_(options_.hosts), http_(std::make_unique<RawTargetServer>()) {
  http_.server().set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    const std::string host = req.get_header_value("Host");
    const std::string& raw = RawTargetServer::currentRawTarget();
    const std::string target = raw.empty() ? req.target : raw;
    {
      std::lock_guard lock(logMutex_);
      log_.push_back({host, target});
    }
    SiteAnswer reply = answer(host, target);
    if (reply.delay.count() > 0) waitUnlessStopping(reply.delay);
    res.status = reply.status;
    res.set_content(std::move(reply.body), reply.contentType.c_str());
    return httplib::Server::HandlerResponse::Handled;
  });
}

SampleSite::~SampleSite() { stop(); }

int SampleSite::start(int port) {
  {
    std::lock_guard lock(stopMutex_);
    stopping_ = false;
  }
  return http_.start(port);
}

void SampleSite::stop() {
  {
    std::lock_guard lock(stopMutex_);
    stopping_ = true;
  }
  stopSignal_.notify_all();
  http_.stop();
}

void SampleSite::waitUnlessStopping(std::chrono::milliseconds delay) {
  std::unique_lock lock(stopMutex_);
  stopSignal_.wait_for(lock, delay, [this] { return stopping_; });
}

std::string SampleSite::baseAddress() const { return "http://" + http_.hostPort() + "/"; }

std::string SampleSite::connectToList() const {
  const Sites& h = options_.hosts;
  std::string list;
  for (const std::string* host : {&h.offerSearchHost, &h.offerDetailHost, &h.taobaoSearchHost, &h.ratingHost, &h.itemHost}) {
    if (!list.empty()) list += ',';
    list += *host + ":80:" + http_.hostPort();
  }
  return list;
}

std::vector<SiteRequest> SampleSite::requests() const {
  std::lock_guard lock(logMutex_);
  return log_;
}

void SampleSite::clearRequests() {
  std::lock_guard lock(logMutex_);
  log_.clear();
}

SiteAnswer SampleSite::ruleFile(std::string_view path) const {
  if (!options_.rulesDirectory) {
    if (const auto bytes = embeddedRuleFile(path)) return {200, std::string(kRuleType), std::string(*bytes), {}};
  } else {
    for (std::string_view folder : {"taobao", "ali"}) {
      const std::string prefix = "/files/" + std::string(folder) + "/";
      const auto name = nameBetween(path, prefix, "");
      if (!name || *name == "." || *name == "..") continue;
      std::ifstream in(*options_.rulesDirectory / folder / *name, std::ios::binary);
      if (!in) break;
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      return {200, std::string(kRuleType), std::move(bytes), {}};
    }
  }
  return {404, "text/plain", "no such rule file\n", {}};
}

SiteAnswer SampleSite::answer(std::string_view hostHeader, std::string_view rawTarget) const {
  const SiteTarget target(rawTarget);
  const std::string& path = target.path();
  if (startsWith(path, "/files/")) return ruleFile(path);

  const Sites& h = options_.hosts;
  const std::string host = hostName(hostHeader);
  const SiteAnswer notFound{404, std::string(kHtml), pages_.notFoundPage(), {}};

  if (sameHost(host, h.offerSearchHost) && path == "/selloffer/offer_search.htm") {
    const std::string keyword = target.firstValue("keywords").value_or("");
    const int page = numberIn(target.lastValue("beginPage"), 1);
    if (keyword == kMissingPage3Keyword && page == 3) return notFound;
    SiteAnswer reply = htmlAnswer(pages_.offerSearchPage(keyword, page));
    if (keyword == kSlowKeyword) reply.delay = options_.slowDelay;
    if (keyword == kHostileKeyword) reply.body = withHostileFiller(PageKind::OfferSearch, reply.body, kHostilePageBytes);
    return reply;
  }
  if (sameHost(host, h.offerDetailHost)) {
    if (const auto offerId = nameBetween(path, "/offer/", ".html")) return htmlAnswer(pages_.offerDetailPage(*offerId));
  }
  if (sameHost(host, h.itemHost) && path == "/item.htm") {
    const std::string itemId = target.lastValue("id").value_or("");
    if (!itemId.empty()) return htmlAnswer(pages_.itemPage(itemId));
  }
  if (sameHost(host, h.ratingHost)) {
    if (path == "/detail_rate.htm") {
      const std::string itemId = target.lastValue("auctionNumId").value_or("");
      if (itemId.empty()) return notFound;
      const int number = numberIn(target.lastValue("currentPage"), 1);
      const Item item = SampleCatalog::item(itemId);
      if (item.failingFromPage > 0 && number >= item.failingFromPage) {
        return {500, std::string(kHtml), "<html><body><h1>500 Internal Server Error</h1></body></html>\n", {}};
      }
      return htmlAnswer(pages_.reviewPage(itemId, number));
    }
    if (const auto sellerId = nameBetween(path, "/user-rate-", ".htm")) return htmlAnswer(pages_.sellerRatingPage(*sellerId));
  }
  if (sameHost(host, h.taobaoSearchHost) && path == "/search") {
    const std::string keyword = target.firstValue("q").value_or("");
    const int offset = numberIn(target.lastValue("s"), 0);
    if (keyword == kMissingPage3Keyword && offset / kTaobaoPageStep + 1 == 3) return notFound;
    SiteAnswer reply = htmlAnswer(pages_.taobaoSearchPage(keyword, offset));
    if (keyword == kSlowKeyword) reply.delay = options_.slowDelay;
    if (keyword == kHostileKeyword) reply.body = withHostileFiller(PageKind::TaobaoSearch, reply.body, kHostilePageBytes);
    return reply;
  }
  return notFound;
}

}  // namespace gleaner::sample
