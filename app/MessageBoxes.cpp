#include "app/MessageBoxes.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/icon.h>
#include <wx/msgdlg.h>
// after the native box, which the generic one builds on
#include <wx/generic/msgdlgg.h>

#include "res/AppTexts.h"

namespace gleaner {
namespace {

#ifdef __WXMSW__
// The icons of the system's own message boxes. The toolkit asks the shell
// for its stock icons first, and some systems (Wine among them) answer with
// a plain document for the question and the others.
class SystemMessageIcons : public wxArtProvider {
 protected:
  wxBitmap CreateBitmap(const wxArtID& id, const wxArtClient& client, const wxSize&) override {
    if (client != wxART_MESSAGE_BOX) return wxNullBitmap;
    // Names the toolkit loads as the system's icons.
    const char* name = id == wxART_ERROR         ? "wxICON_ERROR"
                       : id == wxART_WARNING     ? "wxICON_WARNING"
                       : id == wxART_QUESTION    ? "wxICON_QUESTION"
                       : id == wxART_INFORMATION ? "wxICON_INFORMATION"
                                                 : nullptr;
    return name == nullptr ? wxNullBitmap : wxBitmap(wxIcon(name));
  }
};

void useSystemMessageIcons() {
  static const bool pushed = [] {
    wxArtProvider::Push(new SystemMessageIcons);
    return true;
  }();
  (void)pushed;
}
#else
void useSystemMessageIcons() {}
#endif

}  // namespace

long messageBoxStyle(MessageKind kind) {
  switch (kind) {
    case MessageKind::Information: return wxOK | wxICON_INFORMATION;
    case MessageKind::Warning: return wxOK | wxICON_WARNING;
    case MessageKind::Error: return wxOK | wxICON_ERROR;
    case MessageKind::Question: return wxYES_NO | wxYES_DEFAULT | wxICON_QUESTION;
  }
  return wxOK;
}

namespace {

wxString messageCaption() {
  return wxTheApp != nullptr ? wxTheApp->GetAppName() : wxString::FromUTF8(res::kMessageCaption);
}

}  // namespace

int showChoiceBox(wxWindow* parent, const wxString& text, const std::vector<wxString>& answers) {
  useSystemMessageIcons();
  const bool three = answers.size() >= 3;
  wxGenericMessageDialog box(parent, text, messageCaption(),
                             (three ? wxYES_NO | wxCANCEL : wxYES_NO) | wxYES_DEFAULT | wxICON_QUESTION | wxCENTRE);
  if (three) {
    box.SetYesNoCancelLabels(answers[0], answers[1], answers[2]);
  } else {
    box.SetYesNoLabels(answers.at(0), answers.at(1));
  }
  switch (box.ShowModal()) {
    case wxID_YES: return 0;
    case wxID_NO: return 1;
    default: return three ? 2 : 1;
  }
}

bool showMessageBox(wxWindow* parent, const wxString& text, MessageKind kind) {
  useSystemMessageIcons();
  const wxString caption = messageCaption();
  wxGenericMessageDialog box(parent, text, caption, messageBoxStyle(kind) | wxCENTRE);
  box.SetOKLabel(wxString::FromUTF8(res::kOkButton));
  box.SetYesNoLabels(wxString::FromUTF8(res::kYesButton), wxString::FromUTF8(res::kNoButton));
  const int answer = box.ShowModal();
  return answer == wxID_YES || answer == wxID_OK;
}

}  // namespace gleaner
