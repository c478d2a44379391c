// File names between wx and the file system, so that Chinese names work on
// Windows (wide names there) as they do here (UTF-8).
#pragma once

#include <wx/string.h>

#include <filesystem>

#include "text/PathText.h"

namespace gleaner {

inline std::filesystem::path pathOf(const wxString& name) { return pathFromUtf8(name.utf8_string()); }

inline wxString wxNameOf(const std::filesystem::path& path) { return wxString::FromUTF8(utf8Of(path)); }

}  // namespace gleaner
