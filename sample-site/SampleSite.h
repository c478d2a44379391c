// A loopback web server that stands in for the sites the jobs read, for the
// demo and the end-to-end tests. It answers by Host header (the hosts of a
// Sites value, by default the real ones: requests reach it through the
// client's connect-to list, so the Host stays the real one), with GBK pages
// (Content-Type "text/html; charset=gbk"); unknown hosts and paths get 404.
//
//   offer search host   /selloffer/offer_search.htm?keywords=K…#beginPage=N
//                       (the page number is also read from "&beginPage=N";
//                       missing: page 1; pages past 50 hold no offers)
//   offer detail host   /offer/ID.html
//   item host           /item.htm?…id=ID (the item id is the last "id=")
//   rating host         /detail_rate.htm?…auctionNumId=ID…&currentPage=N
//                       /user-rate-ID.htm
//   Taobao search host  /search?&q=K&s=0&s=40… (the offset is the LAST "&s=";
//                       none: offset 0; pages past 100 hold no products)
//   any host            /files/taobao/NAME, /files/ali/NAME: the rule files,
//                       from the rules directory when one is given (laid out
//                       as DIR/taobao/NAME, DIR/ali/NAME, read on every
//                       request), otherwise the ones compiled in.
//
// The same request always gives the same page. Behaviours that tests rely on:
//   keyword "slow"      search pages (both sites) answer after slowDelay
//                       (3 s by default); stop() cuts the wait short.
//   keyword "missing3"  search page 3 answers 404 (1688 beginPage=3, Taobao
//                       offset 80), so a walk ends there.
//   keyword "tiny"      small pages for timing the run machinery: one offer
//                       per 1688 page (about 1.3 KB), no products on Taobao.
//   keyword "empty"     result pages without any result, saying so
//                       ("sm-noresult", "no-result"), as do the pages past
//                       the last one and "tiny" Taobao pages.
//   keyword "changed"   the default keyword's search pages (both sites) with
//                       the markup the list rules key on renamed: the
//                       merchant link's memberid/offerid attributes on 1688
//                       (data-member-id, data-offer-id), the "summary" class
//                       of the product heading on Taobao ("item-summary").
//   keyword "hostile"   search pages (both sites) of about 1 MB whose records
//                       follow text crafted against backtracking patterns
//                       (HostileFiller.h); the records are the keyword's own.
//   1688 page 1         the fourth offer is withdrawn: its offer page has no
//                       product title. Page 2 lists one merchant twice.
//   Taobao page 1       the third product's seller has fewer than 4 points;
//                       the last product has the first product's seller.
//   Taobao page 2       an empty placeholder block second, a product reported
//                       as "举报该宝贝" fourth.
//   item 19793658234    the sample item: review pages 1 to 5 hold 10 to 20
//                       buyers each, later pages none.
//   item 10000000001    its page has no data-reviewApi attribute.
//   item 10000000004    review pages from currentPage=4 on answer 500.
//   item 10000000009    every review page up to 102 holds 100 buyers.
//   item 10000000007    its review pages name buyers under "rater", not
//                       "buyer" (changed markup).
//   review page 2       (of every item) holds a rater whose account is gone,
//                       "buyer":[].
// Names hold Chinese, spaces, brackets and characters whose second byte is
// an ASCII mark or letter (億 83 7C, 東 96 7C, 誠 D5 5C…); seller scores are
// spread evenly over all credit levels and "below 4 points".
#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extract/Sites.h"
#include "rules/LoopbackHttpServer.h"
#include "sample-site/SamplePages.h"

namespace gleaner::sample {

// One request as the site received it.
struct SiteRequest {
  std::string host;    // the Host header, as sent
  std::string target;  // the request target, as sent ("/search?&q=abc&s=0")
  bool operator==(const SiteRequest&) const = default;
};

// What the site answers for one request.
struct SiteAnswer {
  int status = 200;
  std::string contentType;
  std::string body;
  std::chrono::milliseconds delay{0};  // waited before answering
};

class SampleSite {
 public:
  struct Options {
    Sites hosts;
    std::optional<std::filesystem::path> rulesDirectory;
    std::chrono::milliseconds slowDelay{3000};
  };

  SampleSite();
  explicit SampleSite(Options options);
  ~SampleSite();
  SampleSite(const SampleSite&) = delete;
  SampleSite& operator=(const SampleSite&) = delete;

  // Serves on 127.0.0.1:port (0 picks a free port); returns the port.
  // Throws std::runtime_error when the port cannot be bound.
  int start(int port = 0);
  // Ends waits for slow pages at once, then stops serving. Safe at any time.
  void stop();

  int port() const { return http_.port(); }
  // "http://127.0.0.1:PORT/"
  std::string baseAddress() const;
  // The connect-to list that sends the site hosts here, as GLEANER_CONNECT_TO
  // takes it: "HOST:80:127.0.0.1:PORT", one per host, comma-separated.
  std::string connectToList() const;

  // The requests answered so far, in the order they arrived.
  std::vector<SiteRequest> requests() const;
  void clearRequests();

  // The answer to a request, without the network (no delay is waited).
  SiteAnswer answer(std::string_view host, std::string_view target) const;

  const SamplePages& pages() const { return pages_; }
  const Sites& hosts() const { return options_.hosts; }

 private:
  SiteAnswer ruleFile(std::string_view path) const;
  void waitUnlessStopping(std::chrono::milliseconds delay);

  Options options_;
  SamplePages pages_;
  LoopbackHttpServer http_;

  mutable std::mutex logMutex_;
  std::vector<SiteRequest> log_;

  std::mutex stopMutex_;
  std::condition_variable stopSignal_;
  bool stopping_ = false;
};

}  // namespace gleaner::sample
