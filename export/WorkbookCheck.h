// Reads a written workbook back to see that every part of it is whole. The
// workbook library writes each part to a temporary file first and packs it
// into the archive at the end, without checking those writes: a full disk or
// a file size limit leaves a part cut short inside an archive that is
// otherwise sound, and the library reports success.
#pragma once

#include <cstdint>
#include <filesystem>

namespace gleaner {

// Throws ExportError unless the archive at path reads back whole (every
// entry inflates to its recorded size and checksum), every XML part ends
// with the end tag of its root element, and the sheet's rows are exactly
// the sheetDataBytes that were written for them.
void checkWorkbook(const std::filesystem::path& path, std::uint64_t sheetDataBytes);

}  // namespace gleaner
