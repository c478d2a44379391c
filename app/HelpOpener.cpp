#include "app/HelpOpener.h"

#include "app/DefaultBrowser.h"
#include "app/UserMessage.h"
#include "res/AppTexts.h"

namespace gleaner {

HelpOpener::HelpOpener(HelpLocation location, Teller tell) : location_(std::move(location)), tell_(std::move(tell)) {
  setLauncher({});
}

void HelpOpener::setLauncher(Launcher launcher) {
  if (!launcher) {
    launcher = [](const wxString& address) { return DefaultBrowser::open(address); };
  }
  launch_ = std::move(launcher);
}

void HelpOpener::openHelp() { open(location_.helpAddress()); }

void HelpOpener::openContact() { open(location_.contactAddress()); }

void HelpOpener::open(const std::optional<wxString>& address) {
  if (!address) {
    wxString searched;
    for (const wxFileName& file : location_.candidates()) {
      searched += (searched.empty() ? "" : "\n") + file.GetFullPath();
    }
    tell_(userMessage(res::kHelpMissing, res::kHelpMissingAdvice, "not found:\n" + searched));
    return;
  }
  if (!launch_(*address)) tell_(userMessage(res::kBrowserFailed, res::kBrowserFailedAdvice, *address));
}

}  // namespace gleaner
