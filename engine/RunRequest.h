// What one run is asked to do: the job and that job's settings, as typed
// values. Built once, at the edge: by the window from the job's tab page
// when collect is pressed, by gleaner-cli from its flags. Below that edge no
// code reads a control or parses a setting again.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "text/Job.h"

namespace gleaner {

// The sort order of an offer search: the tab page's six radio buttons, or
// none of them checked.
enum class OfferSort { None, Normal, Popular, Booked, Credit, Newest, Price };

struct RunRequest {
  Job job = Job::Offers;
  // Offers and sellers: the search keyword (GBK) and the result pages to read.
  std::string keyword;
  int pages = 0;
  // Offers: sort order and filters.
  OfferSort sort = OfferSort::Normal;
  bool buyerProtection = false;
  bool alipay = false;
  bool online = false;
  // Buyers: the item page's address (GBK, as typed).
  std::string itemAddress;
  // Sellers: the level filter (GBK, the level box's text).
  std::string levelFilter;
  // A batch: the keywords (offers, sellers) or item addresses (buyers, GBK)
  // walked one after another, each as a single run walks its keyword or
  // address. Empty for a single run.
  std::vector<std::string> batch;

  bool operator==(const RunRequest&) const = default;

  bool isBatch() const { return !batch.empty(); }
  // What the run walks, in order: the batch's entries, or the one keyword
  // (buyers: item address) of a single run.
  std::vector<std::string> entries() const;
  // The request of one of them, as a single run of it.
  RunRequest entry(std::size_t index) const;

  // The request as named texts, for the result store; and back (nothing when
  // the fields do not make a request).
  using Fields = std::vector<std::pair<std::string, std::string>>;
  Fields fields() const;
  static std::optional<RunRequest> fromFields(const Fields& fields);
};

// A job's settings as the user gave them: the texts of its boxes and the
// states of its buttons (GBK), white space around them included.
struct RunSettings {
  Job job = Job::Offers;
  std::string keyword;
  // The keyword's characters that GBK cannot hold, which the edge left out
  // of keyword (UTF-8, as gbk::fromUtf8LeavingOut names them).
  std::string keywordLeftOut;
  std::string pagesText;
  OfferSort sort = OfferSort::Normal;
  bool buyerProtection = false;
  bool alipay = false;
  bool online = false;
  std::string itemAddress;
  std::string levelText;
  // A batch of keywords or item addresses (GBK); empty: the one above.
  std::vector<std::string> batch;

  // What the tab pages start with: keyword 核桃, 10 pages, sort 综合, no
  // filter, the level 所有信用等级, the sample item on itemHost.
  static RunSettings defaults(Job job, const std::string& itemHost);
};

// The request the settings make, or the refusal the user sees instead of a
// run. Every box's text is read without the white space, line breaks and
// full-width spaces around it (gbk::trimTyped). Refused: an offer or seller
// search without a keyword nor a batch ("请填写关键词"; a keyword of spaces only, or of
// characters that cannot be searched only, has none), an offer search
// without a page count ("请填写搜索的页数"), and a page count that is no
// number, an optional sign and digits ("搜索的页数只能填写数字…"). The page
// count is that decimal number (beyond the 32-bit range it saturates); an
// empty one of the seller search reads as 0, which reads the first page.
struct SettingsReading {
  std::optional<RunRequest> request;
  std::string refusal;  // GBK; empty when there is a request
  // Before the run or the refusal, the user is told which characters of the
  // keyword cannot be searched and were left out: this text, UTF-8 since it
  // shows them; empty when there were none.
  std::string leftOutWarning;
};
SettingsReading readRunSettings(const RunSettings& settings);

}  // namespace gleaner
