#include "app/UserMessage.h"

namespace gleaner {

wxString userMessage(const char* happened, const char* whatToDo, const wxString& detail) {
  wxString text = wxString::FromUTF8(happened) + "\n" + wxString::FromUTF8(whatToDo);
  if (!detail.empty()) text += "\n\n" + detail;
  return text;
}

}  // namespace gleaner
