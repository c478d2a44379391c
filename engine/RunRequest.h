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
// states of its buttons (GBK).
struct RunSettings {
  Job job = Job::Offers;
  std::string keyword;
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
// run: "请填写关键词" when an offer or seller search has no keyword (nor a
// batch),
// "请填写搜索的页数" when an offer search has no page count. The page count
// is read as a decimal number (leading white space, a sign, the digits up to
// the first other character; none gives 0).
struct SettingsReading {
  std::optional<RunRequest> request;
  std::string refusal;  // GBK; empty when there is a request
};
SettingsReading readRunSettings(const RunSettings& settings);

}  // namespace gleaner
