#include "engine/RunProgress.h"

#include "engine/RunOutcome.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

std::optional<std::string> fieldOf(const RunProgress::Fields& fields, const std::string& name) {
  for (const auto& [key, value] : fields) {
    if (key == name) return value;
  }
  return std::nullopt;
}

bool isCount(const std::optional<std::string>& text) {
  return text && !text->empty() && text->find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

RunProgress::Fields RunProgress::fields() const {
  return {
      {"entry", std::to_string(entry)},
      {"page", std::to_string(page)},
      {"address", address},
      {"rows_before", std::to_string(rowsBefore)},
      {"item_title", itemTitle},
  };
}

std::optional<RunProgress> RunProgress::fromFields(const Fields& fields) {
  const auto entry = fieldOf(fields, "entry");
  const auto page = fieldOf(fields, "page");
  const auto rowsBefore = fieldOf(fields, "rows_before");
  if (!isCount(entry) || !isCount(page) || !isCount(rowsBefore)) return std::nullopt;
  RunProgress progress;
  progress.entry = std::stoull(*entry);
  progress.page = gbk::decimalToInt(*page);
  progress.rowsBefore = std::stoull(*rowsBefore);
  progress.address = fieldOf(fields, "address").value_or("");
  progress.itemTitle = fieldOf(fields, "item_title").value_or("");
  return progress;
}

StoredRun storedRun(const RunProgress::Fields& run, const RunProgress::Fields& progress,
                    const RunProgress::Fields& outcome) {
  StoredRun stored;
  const auto request = RunRequest::fromFields(run);
  if (!request) return stored;
  stored.request = *request;
  // A run that ended on its own wrote its outcome; a stopped one too, and
  // it can go on; a crashed or killed one wrote none.
  const auto kind = fieldOf(outcome, "kind");
  const bool stopped = kind && outcomeOfName(*kind) == OutcomeKind::Stopped;
  stored.state = kind && !stopped ? StoredRun::State::Ended : StoredRun::State::Unfinished;
  const auto where = RunProgress::fromFields(progress);
  if (where && where->entry < stored.request.entries().size()) {
    stored.progress = *where;
  } else {
    // Not one page asked for yet: from the start.
    stored.progress.page = stored.request.job == Job::Buyers ? 0 : 1;
  }
  return stored;
}

}  // namespace gleaner
