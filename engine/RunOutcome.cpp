#include "engine/RunOutcome.h"

#include <array>
#include <utility>

namespace gleaner {

namespace {

constexpr std::array<std::pair<OutcomeKind, std::string_view>, 7> kNames = {{
    {OutcomeKind::Finished, "finished"},
    {OutcomeKind::ResultsEnded, "results-ended"},
    {OutcomeKind::PageFailed, "page-failed"},
    {OutcomeKind::Stopped, "stopped"},
    {OutcomeKind::NothingDownloaded, "nothing-downloaded"},
    {OutcomeKind::NotAnItemPage, "not-an-item-page"},
    {OutcomeKind::ExtractionsFailed, "extractions-failed"},
}};

}  // namespace

std::string_view outcomeName(OutcomeKind kind) {
  for (const auto& [k, name] : kNames) {
    if (k == kind) return name;
  }
  return "finished";
}

std::optional<OutcomeKind> outcomeOfName(std::string_view name) {
  for (const auto& [kind, n] : kNames) {
    if (n == name) return kind;
  }
  return std::nullopt;
}

bool RunOutcome::failed() const {
  switch (kind) {
    case OutcomeKind::Finished:
    case OutcomeKind::ResultsEnded:
    case OutcomeKind::Stopped: return false;
    default: return true;
  }
}

bool RunOutcome::endedEarly() const { return failed(); }

std::vector<std::pair<std::string, std::string>> RunOutcome::fields() const {
  std::vector<std::pair<std::string, std::string>> fields = {
      {"kind", std::string(outcomeName(kind))},
      {"pages", std::to_string(health.counts.pages)},
      {"rows", std::to_string(health.counts.rows)},
      {"status_line", statusLine},
  };
  if (failedPage) {
    fields.emplace_back("failed_page", std::to_string(failedPage->number));
    fields.emplace_back("failed_address", failedPage->address);
    fields.emplace_back("failed_reason", failedPage->reason);
  }
  return fields;
}

}  // namespace gleaner
