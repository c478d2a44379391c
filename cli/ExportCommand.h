// gleaner-cli export --store FILE --out FILE.xlsx|FILE.csv [--sellers]:
// exports the list kept in a store with the window's export rules. The
// output's extension gives the format.
#pragma once

#include <string>
#include <vector>

namespace gleaner::cli {

// args follow the word "export". Returns the exit status: 0 written, 1 the
// store holds no rows, 2 bad usage or a store or output that cannot be used.
int runExportCommand(const std::vector<std::string>& args);

extern const char* const kExportUsage;

}  // namespace gleaner::cli
