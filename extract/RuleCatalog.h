// The rule files the extractors fetch from the rule server, and what each one
// is for. Every use of a rule goes through this table, so that a run's rule
// health, its warnings and the rule tester all name a rule the same way.
#pragma once

#include <span>
#include <string_view>

#include "text/Job.h"

namespace gleaner {

// What a rule does for its job: it finds a page's records, it looks up one
// record's detail on a page, or it recognises a result page that is empty by
// the site's own word (optional: a rule server need not have it).
enum class RuleRole { List, Lookup, EmptyMarker };

// The page a rule is applied to.
enum class RulePage { OfferSearch, OfferDetail, Reviews, TaobaoSearch, SellerRating };

struct RuleFile {
  std::string_view name;  // the file name without ".txt": how messages name it
  std::string_view path;  // as served, "/files/ali/ExtractTextAImg.txt"
  Job job;  // the job the rule serves
  RuleRole role;
  RulePage page;
};

namespace rules {
inline constexpr RuleFile kOfferList{"ExtractTextAImg", "/files/ali/ExtractTextAImg.txt", Job::Offers,
                                     RuleRole::List, RulePage::OfferSearch};
inline constexpr RuleFile kOfferDetail{"ExtractTextAImg01", "/files/ali/ExtractTextAImg01.txt", Job::Offers,
                                       RuleRole::Lookup, RulePage::OfferDetail};
inline constexpr RuleFile kOfferEmpty{"EmptyOfferSearch", "/files/ali/EmptyOfferSearch.txt", Job::Offers,
                                      RuleRole::EmptyMarker, RulePage::OfferSearch};
inline constexpr RuleFile kBuyerList{"ExtractAllText", "/files/taobao/ExtractAllText.txt", Job::Buyers,
                                     RuleRole::List, RulePage::Reviews};
inline constexpr RuleFile kBuyerEmpty{"EmptyReviewPage", "/files/taobao/EmptyReviewPage.txt", Job::Buyers,
                                      RuleRole::EmptyMarker, RulePage::Reviews};
inline constexpr RuleFile kProductList{"ExtractTextAImg3", "/files/taobao/ExtractTextAImg3.txt", Job::Sellers,
                                       RuleRole::List, RulePage::TaobaoSearch};
inline constexpr RuleFile kSellerBlock{"ExtractImg", "/files/taobao/ExtractImg.txt", Job::Sellers,
                                       RuleRole::Lookup, RulePage::TaobaoSearch};
inline constexpr RuleFile kRatingSummary{"ExtractTextAImg31", "/files/taobao/ExtractTextAImg31.txt",
                                         Job::Sellers, RuleRole::Lookup, RulePage::SellerRating};
inline constexpr RuleFile kSellerEmpty{"EmptySellerSearch", "/files/taobao/EmptySellerSearch.txt", Job::Sellers,
                                       RuleRole::EmptyMarker, RulePage::TaobaoSearch};
}  // namespace rules

// Every rule file, by job: its list rule, its lookups, its empty-result marker.
std::span<const RuleFile* const> ruleFiles();

// The rule a name stands for: "ExtractTextAImg", "ExtractTextAImg.txt",
// "ali/ExtractTextAImg.txt" or "/files/ali/ExtractTextAImg.txt" (the case of
// the name counts, as on the rule server). Null for any other name.
const RuleFile* findRuleFile(std::string_view name);

const RuleFile& emptyMarkerOf(Job job);

}  // namespace gleaner
