#include "app/HelpLocation.h"

#include <wx/stdpaths.h>

#include <string>

namespace gleaner {
namespace {

bool keptAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/' || c == ':';
}

PageAddress webPage(const wxString& address) { return {address, address.BeforeFirst('#'), address}; }

}  // namespace

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

wxString HelpLocation::fileAddress(const wxFileName& file) {
  wxString path = file.GetFullPath(wxPATH_NATIVE);
  path.Replace("\\", "/");
  std::string address = "file://";
  // A drive letter (C:/...) is preceded by the third slash; a network name
  // (//server/share/...) takes the place of the host.
  if (!path.StartsWith("/")) address += '/';
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : path.utf8_string()) {
    const auto c = static_cast<unsigned char>(ch);
    if (keptAsIs(c)) {
      address += ch;
    } else {
      address += '%';
      address += kHex[c >> 4];
      address += kHex[c & 0xF];
    }
  }
  if (path.StartsWith("//")) address.erase(std::string("file:").size(), 2);
  return wxString::FromUTF8(address);
}

std::optional<wxFileName> HelpLocation::guide() const {
  for (const wxFileName& file : candidates()) {
    if (file.FileExists()) {
      wxFileName whole(file);
      whole.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
      return whole;
    }
  }
  return std::nullopt;
}

std::optional<PageAddress> HelpLocation::helpAddress() const {
  if (!overrides_.help.empty()) return webPage(overrides_.help);
  const std::optional<wxFileName> file = guide();
  if (!file) return std::nullopt;
  const wxString address = fileAddress(*file);
  return PageAddress{address, address, file->GetFullPath()};
}

std::optional<PageAddress> HelpLocation::contactAddress() const {
  if (!overrides_.contact.empty()) return webPage(overrides_.contact);
  std::optional<PageAddress> page = helpAddress();
  if (page) page->address = page->withoutSection + "#" + kContactAnchor;
  return page;
}

}  // namespace gleaner
