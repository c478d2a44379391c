#include "app/HelpOpener.h"

#include "app/DefaultBrowser.h"
#include "app/UserMessage.h"
#include "res/AppTexts.h"

namespace gleaner {

HelpOpener::HelpOpener(HelpLocation location, Teller tell)
    : location_(std::move(location)), tell_(std::move(tell)), self_(std::make_shared<HelpOpener*>(this)) {
  setLauncher({});
}

HelpOpener::~HelpOpener() { *self_ = nullptr; }

void HelpOpener::setLauncher(Launcher launcher) {
  if (!launcher) launcher = &DefaultBrowser::open;
  launch_ = std::move(launcher);
}

void HelpOpener::openHelp() { open(location_.helpAddress()); }

void HelpOpener::openContact() { open(location_.contactAddress()); }

void HelpOpener::open(const std::optional<PageAddress>& page) {
  if (!page) {
    wxString searched;
    for (const wxFileName& file : location_.candidates()) {
      searched += (searched.empty() ? "" : "\n") + file.GetFullPath();
    }
    tell_(userMessage(res::kHelpMissing, res::kHelpMissingAdvice, searched));
    return;
  }
  const std::weak_ptr<HelpOpener*> alive = self_;
  launch_(page->address, [alive, page = *page](bool opened) {
    const auto self = alive.lock();
    if (opened || !self || *self == nullptr) return;
    HelpOpener& opener = **self;
    if (page.withoutSection == page.address) {
      opener.tellNotOpened(page);
      return;
    }
    opener.launch_(page.withoutSection, [alive, page](bool openedAtTop) {
      const auto again = alive.lock();
      if (!openedAtTop && again && *again != nullptr) (*again)->tellNotOpened(page);
    });
  });
}

void HelpOpener::tellNotOpened(const PageAddress& page) {
  tell_(userMessage(res::kBrowserFailed, res::kBrowserFailedAdvice, page.shown));
}

}  // namespace gleaner
