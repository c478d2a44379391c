// What the user is told after an export, in Chinese: what happened and what
// to do, with the library's own text only on a last line.
#pragma once

#include <string>

#include "export/ExportResult.h"

namespace gleaner {

// target is the file's name as shown to the user (UTF-8). UTF-8 lines.
std::string exportReport(const ExportResult& result, const std::string& target);

}  // namespace gleaner
