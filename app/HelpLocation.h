// Where the user guide and its contact section are. The build may name
// addresses on a vendor's site; otherwise the guide ships with the program,
// beside it (<program folder>/help/index.html: the build tree, a plain
// folder install, and on Windows the portable folder and the installed
// program alike) or in the installed Linux layout
// (<program folder>/../share/gleaner/help/index.html).
#pragma once

#include <wx/filename.h>
#include <wx/string.h>

#include <optional>
#include <vector>

namespace gleaner {

// A page to open: its address, and how a message shows it to the user.
struct PageAddress {
  // What a browser is handed: a web address, or for the shipped guide a
  // file:/// address (UTF-8, percent-encoded), with the section if any.
  wxString address;
  // The same page without its section, for an opener that cannot take one.
  wxString withoutSection;
  // As the user would type it: the file's own path, or the web address.
  wxString shown;
};

class HelpLocation {
 public:
  // Addresses named by the build; empty: none.
  struct Overrides {
    wxString help;
    wxString contact;
  };

  HelpLocation(const wxString& programFolder, Overrides overrides);

  // The running program's folder and the build's addresses.
  static HelpLocation ofThisProgram();

  // What the help tab opens; nothing when no address is named and no guide is found.
  std::optional<PageAddress> helpAddress() const;
  // What the contact picture opens: the named contact page, else the help
  // address at its contact section.
  std::optional<PageAddress> contactAddress() const;

  // The guide files looked for, in order.
  std::vector<wxFileName> candidates() const;

  // file:/// address of an absolute file name: forward slashes, the drive
  // letter of a Windows name after the third slash, and everything but
  // letters, digits and - . _ ~ / : percent-encoded as UTF-8.
  static wxString fileAddress(const wxFileName& file);

  static constexpr const char* kContactAnchor = "contact";

 private:
  std::optional<wxFileName> guide() const;

  wxString folder_;
  Overrides overrides_;
};

}  // namespace gleaner
