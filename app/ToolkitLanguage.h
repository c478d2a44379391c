// The toolkit's own texts (the progress dialog's 已用时间 and 取消, its
// error boxes) in Simplified Chinese, the program's only language, whatever
// the system's: its Chinese catalogue comes from the system's wx packages
// on Linux and from the program's resources on Windows.
#pragma once

namespace gleaner {

// Selects the catalogue; false when it was not found (the texts stay English).
bool useChineseForToolkitTexts();

}  // namespace gleaner
