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
  std::optional<wxString> helpAddress() const;
  // What the contact picture opens: the named contact page, else the help
  // address at its contact section.
  std::optional<wxString> contactAddress() const;

  // The guide files looked for, in order.
  std::vector<wxFileName> candidates() const;

  static constexpr const char* kContactAnchor = "contact";

 private:
  wxString folder_;
  Overrides overrides_;
};

}  // namespace gleaner
