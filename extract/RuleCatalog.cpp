#include "extract/RuleCatalog.h"

#include <array>

namespace gleaner {

namespace {

constexpr std::array<const RuleFile*, 9> kAll = {
    &rules::kOfferList,   &rules::kOfferDetail,  &rules::kOfferEmpty,     &rules::kBuyerList,   &rules::kBuyerEmpty,
    &rules::kProductList, &rules::kSellerBlock, &rules::kRatingSummary, &rules::kSellerEmpty,
};

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

std::span<const RuleFile* const> ruleFiles() { return kAll; }

const RuleFile* findRuleFile(std::string_view name) {
  if (endsWith(name, ".txt")) name.remove_suffix(4);
  for (const RuleFile* rule : kAll) {
    std::string_view path = rule->path;
    path.remove_suffix(4);
    if (name == rule->name || name == path || name == path.substr(std::string_view("/files/").size())) return rule;
  }
  return nullptr;
}

const RuleFile& emptyMarkerOf(Job job) {
  switch (job) {
    case Job::Offers: return rules::kOfferEmpty;
    case Job::Buyers: return rules::kBuyerEmpty;
    case Job::Sellers: break;
  }
  return rules::kSellerEmpty;
}

}  // namespace gleaner
