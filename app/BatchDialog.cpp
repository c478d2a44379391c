#include "app/BatchDialog.h"

#include <wx/filedlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <fstream>
#include <iterator>

#include "app/MessageBoxes.h"
#include "app/TemplateBuilder.h"
#include "res/AppTexts.h"
#include "res/ControlIds.h"
#include "text/GbkConvert.h"
#include "text/ListText.h"
#include "text/PathText.h"

namespace gleaner {
namespace {

wxString utf8Text(const char* text) { return wxString::FromUTF8(text); }

wxTextCtrl& textBox(const wxWindow& dialog) { return *dynamic_cast<wxTextCtrl*>(dialog.FindWindow(ids::kBatchText)); }

wxString linesOf(const std::vector<std::string>& entries) {
  std::string utf8;
  for (const std::string& entry : entries) {
    utf8 += gbk::toUtf8(entry);
    utf8 += '\n';
  }
  return wxString::FromUTF8(utf8);
}

}  // namespace

BatchDialog::BatchDialog(wxWindow* parent, bool items, const std::vector<std::string>& entries) : items_(items) {
  const res::DialogTemplate& t = res::batchDialogTemplate();
  Create(parent, t.id, utf8Text(items ? res::kBatchItemsTitle : res::kBatchKeywordsTitle), wxDefaultPosition,
         wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  SetClientSize(TemplateBuilder::applyFont(*this, t));
  TemplateBuilder::build(*this, t);
  auto* hint = dynamic_cast<wxStaticText*>(FindWindow(ids::kBatchHint));
  hint->SetLabel(utf8Text(items ? res::kBatchItemsHint : res::kBatchKeywordsHint));
  hint->Wrap(hint->GetSize().x);
  textBox(*this).ChangeValue(linesOf(entries));
  showCount();
  Bind(wxEVT_TEXT, [this](wxCommandEvent&) { showCount(); }, ids::kBatchText);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { chooseFile(); }, ids::kBatchLoad);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { textBox(*this).SetValue(wxString()); }, ids::kBatchClear);
  // Buttons 1 and 2 are the template's OK and cancel.
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); }, 1);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_CANCEL); }, 2);
  SetEscapeId(2);
  textBox(*this).SetFocus();
  CentreOnParent();
}

std::vector<std::string> BatchDialog::entries() const {
  return gbk::listEntries(textBox(*this).GetValue().utf8_string());
}

bool BatchDialog::loadFile(const std::filesystem::path& path) {
  const wxString name = wxString::FromUTF8(utf8Of(path.filename()));
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > kLargestFile) {
    tell(wxString::Format(utf8Text(res::kBatchFileTooLarge), name));
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  if (in.is_open()) bytes.assign(std::istreambuf_iterator<char>(in), {});
  if (error || !in.is_open() || in.bad()) {
    tell(wxString::Format(utf8Text(res::kBatchFileUnreadable), name));
    return false;
  }
  textBox(*this).SetValue(linesOf(gbk::listEntries(bytes)));
  return true;
}

void BatchDialog::chooseFile() {
  wxFileDialog chooser(this, utf8Text(res::kBatchFileTitle), wxString(), wxString(),
                       utf8Text(res::kBatchFileWildcard), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (chooser.ShowModal() != wxID_OK) return;
  loadFile(pathFromUtf8(chooser.GetPath().utf8_string()));
}

void BatchDialog::showCount() {
  const std::size_t count = entries().size();
  FindWindow(ids::kBatchCount)
      ->SetLabel(wxString::Format(utf8Text(items_ ? res::kBatchItemCount : res::kBatchKeywordCount), count));
}

void BatchDialog::tell(const wxString& text) {
  if (presentMessage_) {
    presentMessage_(text);
  } else {
    showMessageBox(this, text, MessageKind::Warning);
  }
}

}  // namespace gleaner
