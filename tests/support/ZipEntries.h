// Reads the files out of a zip archive (an .xlsx workbook), for checking an
// export through its XML. Stored and deflated entries only.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace gleaner::testing {

// Entry name -> contents; empty when the file is no readable archive.
std::map<std::string, std::string> readZipEntries(const std::filesystem::path& path);

}  // namespace gleaner::testing
