#include "app/TabPageHost.h"

namespace gleaner {

TabPageHost::TabPageHost(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size)
    : wxNotebook(parent, id, pos, size) {}

bool TabPageHost::addPage(const wxString& title, TemplatePage* page, int templateId) {
  if (count_ == kMaxPages || page == nullptr) return false;
  entries_[static_cast<std::size_t>(count_)] = Entry{title, templateId, page};
  ++count_;
  return true;
}

void TabPageHost::createPages() {
  for (int i = 0; i < count_; ++i) {
    Entry& entry = entries_[static_cast<std::size_t>(i)];
    if (entry.page->hasWindow()) continue;
    entry.page->createWindow(this);
    AddPage(entry.page, entry.title, i == 0);
  }
}

TemplatePage* TabPageHost::addedPage(int index) const {
  if (index < 0 || index >= count_) return nullptr;
  return entries_[static_cast<std::size_t>(index)].page;
}

}  // namespace gleaner
