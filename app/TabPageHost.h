// The tab control (1000) that shows one job page at a time. Pages are
// added (at most 16), then created together as children of the control.
// The page shown always follows the selected tab, whether the selection
// came from the mouse or the keyboard.
#pragma once

#include <wx/notebook.h>

#include <array>

#include "app/TemplatePage.h"

namespace gleaner {

class TabPageHost : public wxNotebook {
 public:
  static constexpr int kMaxPages = 16;

  TabPageHost(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size);

  // False, changing nothing, when kMaxPages pages are there already. The
  // host does not own the page objects.
  bool addPage(const wxString& title, TemplatePage* page, int templateId);

  // Creates the added pages' windows, inserts their tabs and shows page 0.
  void createPages();

  // Index of the selected tab, -1 when none is selected.
  int selectedIndex() const { return GetSelection(); }
  int addedCount() const { return count_; }
  TemplatePage* addedPage(int index) const;

 private:
  struct Entry {
    wxString title;
    int templateId = 0;
    TemplatePage* page = nullptr;
  };
  std::array<Entry, kMaxPages> entries_;
  int count_ = 0;
};

}  // namespace gleaner
