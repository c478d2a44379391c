#include "app/HelpLocation.h"

#include <wx/stdpaths.h>

namespace gleaner {

HelpLocation::HelpLocation(const wxString& programFolder, Overrides overrides)
    : folder_(programFolder), overrides_(std::move(overrides)) {}

HelpLocation HelpLocation::ofThisProgram() {
  const wxFileName program(wxStandardPaths::Get().GetExecutablePath());
  return HelpLocation(program.GetPath(), {wxString::FromUTF8(GLEANER_HELP_URL), wxString::FromUTF8(GLEANER_CONTACT_URL)});
}

std::vector<wxFileName> HelpLocation::candidates() const {
  wxFileName beside = wxFileName::DirName(folder_);
  beside.AppendDir("help");
  beside.SetFullName("index.html");
#ifdef __WXMSW__
  return {beside};
#else
  wxFileName installed = wxFileName::DirName(folder_);
  installed.RemoveLastDir();
  for (const char* dir : {"share", "gleaner", "help"}) installed.AppendDir(dir);
  installed.SetFullName("index.html");
  return {beside, installed};
#endif
}

std::optional<wxString> HelpLocation::helpAddress() const {
  if (!overrides_.help.empty()) return overrides_.help;
  for (const wxFileName& guide : candidates()) {
    // A file address, so that a folder with spaces or Chinese in its name
    // reaches the browser intact.
    if (guide.FileExists()) return wxFileName::FileNameToURL(guide);
  }
  return std::nullopt;
}

std::optional<wxString> HelpLocation::contactAddress() const {
  if (!overrides_.contact.empty()) return overrides_.contact;
  std::optional<wxString> help = helpAddress();
  if (help) *help = help->BeforeFirst('#') + "#" + kContactAnchor;
  return help;
}

}  // namespace gleaner
