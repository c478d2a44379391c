// The command line of gleaner-cli: the tab page of one job as flags, with the
// pages' defaults, and the output settings.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/RunRequest.h"

namespace gleaner::cli {

struct CliOptions {
  std::optional<Job> job;
  // Page settings, as UTF-8 from the command line; nullopt keeps the page's default.
  std::optional<std::string> keyword;
  std::optional<std::string> pages;
  std::optional<std::string> itemUrl;
  std::optional<std::string> level;
  std::string sort = "normal";  // normal|pop|booked|credit|newest|price|none
  bool buyerProtection = false;
  bool alipay = false;
  bool online = false;
  // A batch: --keywords-file (offers, sellers) or --item-urls-file (buyers).
  std::optional<std::string> listFile;
  // Output.
  std::string outPath;  // empty: standard output
  bool tsv = false;
  bool gbk = false;
  bool header = false;
  std::string storePath;  // --store: keep the list in this result store
  std::string jsonSummaryPath;  // --json-summary: write the run's summary here as JSON
  bool help = false;
};

// Parses argv (without the program name). Throws UsageError with a message
// naming the fault.
CliOptions parseCliOptions(const std::vector<std::string>& args);

// The flags of `resume` (after the word): --store FILE, and the output
// flags. Throws UsageError; job stays unset.
CliOptions parseResumeOptions(const std::vector<std::string>& args);

class UsageError : public std::exception {
 public:
  explicit UsageError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// The sort order of a --sort value. Throws UsageError for an unknown one.
OfferSort offerSortOf(const std::string& sort);

// The job's settings as its tab page would hold them: the flags given, the
// page's defaults for the others, as GBK. itemHost: the host of the default
// item address.
RunSettings runSettingsOf(const CliOptions& options, const std::string& itemHost);

extern const char* const kUsage;

}  // namespace gleaner::cli
