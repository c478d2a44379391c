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

wxString ExportFileChooser::typedName(const wxString& returnedName, int filterIndex) {
  const wxString appended = ExportTarget::extensionOf(formatOfFilter(filterIndex));
  if (!returnedName.Lower().EndsWith(appended)) return returnedName;
  const wxString typed = returnedName.Left(returnedName.length() - appended.length());
  for (ExportFormat format : {ExportFormat::Xlsx, ExportFormat::Csv}) {
    const wxString extension = ExportTarget::extensionOf(format);
    if (extension != appended && typed.Lower().EndsWith(extension) && typed.length() > extension.length()) {
      return typed;
    }
  }
  return returnedName;
}

ExportTarget ExportFileChooser::resolve(const wxString& returnedPath, int filterIndex) {
  wxString path = returnedPath;
#ifdef __WXMSW__
  // The native dialog appends the chosen type's extension to a name whose
  // typed extension is the other type's.
  const wxFileName returned(returnedPath);
  path = wxFileName(returned.GetPath(), typedName(returned.GetFullName(), filterIndex)).GetFullPath();
#endif
  return ExportTarget::resolve(pathOf(path), formatOfFilter(filterIndex));
}

std::optional<ExportTarget> ExportFileChooser::choose(const SaveDialog& dialog, const Question& ask,
                                                      const wxString& folder) {
  Answer shown{wxFileName(folder, wxString::FromUTF8(res::kExportDefaultName)).GetFullPath(), 0};
  for (;;) {
    const wxFileName proposed(shown.path);
    const std::optional<Answer> answer = dialog(proposed.GetPath(), proposed.GetFullName(), shown.filterIndex);
    if (!answer) return std::nullopt;
    const ExportTarget target = resolve(answer->path, answer->filterIndex);
    std::error_code error;
    // The dialog itself confirms the name it returned; another name is confirmed here.
    const bool renamed = target.path != pathOf(answer->path);
    if (!renamed || !std::filesystem::exists(target.path, error)) return target;
    const wxString question =
        wxString::Format(wxString::FromUTF8(res::kExportReplace), wxNameOf(target.path.filename()));
    if (ask(question)) return target;
    // 否: back to the dialog, with the name as it would have been written.
    shown = Answer{wxNameOf(target.path), answer->filterIndex};
  }
}

std::optional<ExportTarget> ExportFileChooser::choose(wxWindow* parent, const Question& ask, const wxString& folder) {
  const SaveDialog dialog = [parent](const wxString& in, const wxString& name,
                                     int filterIndex) -> std::optional<Answer> {
    wxFileDialog save(parent, wxString::FromUTF8(res::kExportSaveTitle), in, name,
                      wxString::FromUTF8(res::kExportWildcard), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    save.SetFilterIndex(filterIndex);
    const std::unique_ptr<wxTimer> follower = followFileType(save);
    if (save.ShowModal() != wxID_OK) return std::nullopt;
    return Answer{save.GetPath(), save.GetFilterIndex()};
  };
  return choose(dialog, ask, folder);
}

}  // namespace gleaner
