// The text of a message box the user meets: what happened and what to do,
// in Chinese, then the library's own words (or the address or file
// concerned) on the last lines, for support.
#pragma once

#include <wx/string.h>

namespace gleaner {

// happened and whatToDo are UTF-8; detail is left out when empty.
wxString userMessage(const char* happened, const char* whatToDo, const wxString& detail = {});

}  // namespace gleaner
