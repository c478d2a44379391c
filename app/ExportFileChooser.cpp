#include "app/ExportFileChooser.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/timer.h>

#include <filesystem>
#include <memory>

#include "app/PathText.h"
#include "res/AppTexts.h"

namespace gleaner {
namespace {

ExportFormat formatOfFilter(int filterIndex) { return filterIndex == 1 ? ExportFormat::Csv : ExportFormat::Xlsx; }

#ifdef __WXGTK__
// GTK's save dialog treats the file type as a filter of the listing only and
// leaves the name alone; the dialog is asked for its type a few times a
// second instead (it has no event for a change).
class FileTypeFollower : public wxTimer {
 public:
  explicit FileTypeFollower(wxFileDialog& dialog) : dialog_(dialog), shownIndex_(dialog.GetFilterIndex()) {}

  void Notify() override {
    const int index = dialog_.GetFilterIndex();
    if (index == shownIndex_) return;
    shownIndex_ = index;
    const wxString name = wxFileName(dialog_.GetPath()).GetFullName();
    const std::string switched = ExportTarget::switchExtension(name.utf8_string(), formatOfFilter(index));
    if (wxString::FromUTF8(switched) != name) dialog_.SetFilename(wxString::FromUTF8(switched));
  }

 private:
  wxFileDialog& dialog_;
  int shownIndex_;
};
#endif

}  // namespace

std::unique_ptr<wxTimer> ExportFileChooser::followFileType([[maybe_unused]] wxFileDialog& dialog) {
#ifdef __WXGTK__
  auto follower = std::make_unique<FileTypeFollower>(dialog);
  follower->Start(150);
  return follower;
#else
  return nullptr;
#endif
}

std::optional<ExportTarget> ExportFileChooser::resolve(const wxString& typedPath, int filterIndex, const Question& ask) {
  const ExportTarget target = ExportTarget::resolve(pathOf(typedPath), formatOfFilter(filterIndex));
  std::error_code error;
  if (target.extensionAdded && std::filesystem::exists(target.path, error)) {
    const wxString question = wxString::Format(wxString::FromUTF8(res::kExportReplace), wxNameOf(target.path.filename()));
    if (!ask(question)) return std::nullopt;
  }
  return target;
}

std::optional<ExportTarget> ExportFileChooser::choose(wxWindow* parent, const Question& ask) {
  wxFileDialog save(parent, wxString::FromUTF8(res::kExportSaveTitle), wxString(),
                    wxString::FromUTF8(res::kExportDefaultName), wxString::FromUTF8(res::kExportWildcard),
                    wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  const std::unique_ptr<wxTimer> follower = followFileType(save);
  if (save.ShowModal() != wxID_OK) return std::nullopt;
  return resolve(save.GetPath(), save.GetFilterIndex(), ask);
}

}  // namespace gleaner
