// Where the desktop program keeps its result store: one file in the user's
// data folder (~/.local/share/gleaner/ here, %APPDATA%\gleaner\ on Windows).
#pragma once

#include <filesystem>

namespace gleaner {

std::filesystem::path defaultStorePath();

}  // namespace gleaner
