// A tab page: a child dialog built from its template. The object exists
// from the main window's construction; its window only once the tab host
// creates it. Until then reading a control gives empty text and unchecked,
// and writing one does nothing.
#pragma once

#include <wx/panel.h>

#include <string>

#include "res/DialogTemplates.h"
#include "text/GbkConvert.h"

namespace gleaner {

enum class CheckState { Unchecked, Checked, Indeterminate };

class TemplatePage : public wxPanel {
 public:
  explicit TemplatePage(const res::DialogTemplate& dialogTemplate);

  // Creates the page window as a child of parent, builds its controls
  // and runs the page's start (its defaults).
  bool createWindow(wxWindow* parent);
  bool hasWindow() const { return GetHandle() != nullptr; }
  int templateId() const { return template_.id; }
  const res::DialogTemplate& dialogTemplate() const { return template_; }

  // Text of an edit or combo box (the label of anything else); GBK.
  std::string controlText(int controlId) const;
  // The same for a text that is sent on (a keyword): the characters GBK
  // cannot hold are left out and named.
  gbk::GbkConversion controlTextLeavingOut(int controlId) const;
  void setControlText(int controlId, const std::string& gbk);
  CheckState checkState(int controlId) const;
  void setChecked(int controlId, bool checked);

  // A group box of the template may be wider than the room the tab control
  // gives the page: it keeps its template width where that fits, else it
  // ends as far inside the page's right edge as it starts from the left.
  void fitGroupBoxes();

 protected:
  // The page's own start, after its controls exist.
  virtual void start() {}
  // A page count box tells what its number does (0 reads the first page).
  void explainPageCount(int controlId);

 private:
  std::string controlUtf8(int controlId) const;

  const res::DialogTemplate& template_;
};

}  // namespace gleaner
