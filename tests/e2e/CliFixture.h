// The sample site and the built-in rule server for gleaner-cli run as a
// child process, and the CSV it writes for given rows.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "CliProcess.h"
#include "SiteFixture.h"
#include "cli/RowWriter.h"

namespace gleaner::e2e {

class CliFixture : public SiteFixture {
 protected:
  std::vector<std::string> env() const {
    return {"GLEANER_CONNECT_TO=" + site.connectToList(), "GLEANER_RULE_SERVER=" + rules.hostPort()};
  }
};

inline std::string csvOf(const std::vector<ResultRow>& rows, bool tsv = false, bool gbk = false) {
  std::ostringstream out;
  cli::RowWriter writer(out, tsv, gbk);
  for (const auto& row : rows) writer.write(row);
  return out.str();
}

}  // namespace gleaner::e2e
