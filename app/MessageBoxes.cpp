#include "app/MessageBoxes.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
// after the native box, which the generic one builds on
#include <wx/generic/msgdlgg.h>

#include "res/AppTexts.h"
#include "text/GbkConvert.h"
#include "text/Literals.h"

namespace gleaner {
namespace {

wxString fromGbk(std::string_view gbk) { return wxString::FromUTF8(gbk::toUtf8(gbk)); }

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

bool showMessageBox(wxWindow* parent, const wxString& text, MessageKind kind) {
  const wxString caption = wxTheApp != nullptr ? wxTheApp->GetAppName() : wxString::FromUTF8(res::kMessageCaption);
  wxGenericMessageDialog box(parent, text, caption, messageBoxStyle(kind) | wxCENTRE);
  box.SetOKLabel(wxString::FromUTF8(res::kOkButton));
  box.SetYesNoLabels(wxString::FromUTF8(res::kYesButton), wxString::FromUTF8(res::kNoButton));
  const int answer = box.ShowModal();
  return answer == wxID_YES || answer == wxID_OK;
}

MessageKind kindOfRunMessage(const wxString& text) {
  if (text == fromGbk(literals::kRunFinished)) return MessageKind::Information;
  if (text == fromGbk(literals::kFillKeyword) || text == fromGbk(literals::kFillPageCount)) return MessageKind::Warning;
  return MessageKind::Error;
}

}  // namespace gleaner
