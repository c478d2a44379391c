// The flags of a gleaner-cli subcommand, one at a time, each written
// "--flag value" or "--flag=value".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace gleaner::cli {

class FlagReader {
 public:
  explicit FlagReader(const std::vector<std::string>& args) : args_(args) {}

  // Steps to the next flag; false after the last.
  bool next();
  // The flag without its "=value" part, and the argument as given.
  const std::string& flag() const { return flag_; }
  const std::string& argument() const { return args_[at_]; }
  bool hasInlineValue() const { return inlineValue_.has_value(); }
  // The flag's value: what follows "=", else the next argument, unless that
  // is missing or another "--" flag. Throws UsageError.
  std::string value();

 private:
  const std::vector<std::string>& args_;
  std::size_t at_ = 0;
  bool started_ = false;
  std::string flag_;
  std::optional<std::string> inlineValue_;
};

}  // namespace gleaner::cli
