// The program's message boxes: the icon of their kind, the buttons 确定, or
// 是 and 否 for a question, whatever the system's language, and centred on
// the window they belong to (on the screen when there is none). They are
// drawn by the toolkit itself, so that they look and sit alike on every
// system.
#pragma once

#include <wx/string.h>

#include <vector>

class wxWindow;

namespace gleaner {

enum class MessageKind { Information, Warning, Error, Question };

// Shows the box modally; true when the user answered 是 (or pressed 确定).
bool showMessageBox(wxWindow* parent, const wxString& text, MessageKind kind);

// A question with two or three answers, the first the default, the last
// what closing the box means; the index of the answer chosen.
int showChoiceBox(wxWindow* parent, const wxString& text, const std::vector<wxString>& answers);

// The toolkit's style bits for a box of kind (icon and buttons).
long messageBoxStyle(MessageKind kind);

}  // namespace gleaner
