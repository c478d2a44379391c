#include "cli/FlagReader.h"

#include "cli/CliOptions.h"

namespace gleaner::cli {

bool FlagReader::next() {
  if (started_) ++at_;
  started_ = true;
  if (at_ >= args_.size()) return false;
  flag_ = args_[at_];
  inlineValue_.reset();
  if (const auto eq = flag_.find('='); flag_.rfind("--", 0) == 0 && eq != std::string::npos) {
    inlineValue_ = flag_.substr(eq + 1);
    flag_.resize(eq);
  }
  return true;
}

std::string FlagReader::value() {
  if (inlineValue_) return *inlineValue_;
  if (at_ + 1 >= args_.size() || args_[at_ + 1].rfind("--", 0) == 0) throw UsageError(flag_ + " needs a value");
  return args_[++at_];
}

}  // namespace gleaner::cli
