// The three jobs of the tool, and the four columns of the list each one fills.
// One type for every layer: a run's request, the rule catalog, the list, the
// store and the export all name a job this way. Its number is the index of
// the job's tab page and the value the store keeps.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "text/Literals.h"
#include "text/ResultRow.h"

namespace gleaner {

enum class Job { Offers = 0, Buyers = 1, Sellers = 2 };

inline constexpr std::array<Job, 3> kJobs = {Job::Offers, Job::Buyers, Job::Sellers};

inline int jobNumber(Job job) { return static_cast<int>(job); }

// The job of a tab index or a stored number; nothing for any other number.
inline std::optional<Job> jobOfNumber(long long number) {
  for (const Job job : kJobs) {
    if (jobNumber(job) == number) return job;
  }
  return std::nullopt;
}

// The job's columns: headings and default widths.
inline const literals::ColumnSet& columnsOf(Job job) {
  switch (job) {
    case Job::Offers: return literals::kOfferColumns;
    case Job::Buyers: return literals::kBuyerColumns;
    case Job::Sellers: break;
  }
  return literals::kSellerColumns;
}

// The headings of those columns (GBK), as a row, the keyword's last.
inline ResultRow headingsOf(Job job) {
  ResultRow headings;
  for (std::size_t c = 0; c < kJobColumns; ++c) headings[c] = std::string(columnsOf(job)[c].header);
  headings[kKeywordColumn] = std::string(literals::kKeywordColumn.header);
  return headings;
}

// The columns of a run's list: a batch of searches shows the keyword of each
// row too; a buyers batch does not, its rows carry their item's address.
inline std::size_t listColumnsOf(Job job, bool batch) {
  return batch && job != Job::Buyers ? kBatchColumns : kJobColumns;
}

}  // namespace gleaner
