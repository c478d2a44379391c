// The engine's view of the main window. The run thread and the workers reach
// the window only through this interface; the desktop program carries every
// call out on its user-interface thread, the headless runner and the tests
// keep the window in memory. All texts are GBK.
#pragma once

#include <string>

#include "engine/CollectionMode.h"
#include "extract/ExtractorWindow.h"
#include "res/ControlIds.h"

namespace gleaner {

// The four tab pages, whose control ids overlap (1016 is on two of them).
enum class TabPage { Search, ItemUrl, SellerSearch, Help };

enum class CheckState { Unchecked, Checked, Indeterminate };

class MainWindowView : public ExtractorWindow {
 public:
  // Tab control: index of the selected tab, -1 when none is selected.
  virtual int selectedTabIndex() = 0;

  // Page controls: window text of an edit or combo box; state of a radio
  // button or check box. A page without a window gives empty text, unchecked.
  virtual std::string controlText(TabPage page, int controlId) = 0;
  virtual CheckState checkState(TabPage page, int controlId) = 0;

  // Result list.
  virtual void setJobColumns(CollectionMode mode) = 0;  // exactly the job's four columns
  virtual void deleteAllRows() = 0;                     // columns and count display stay
  virtual int rowCount() = 0;
  virtual void insertRow(int index, const std::string& column0) = 0;
  virtual void setCellText(int row, int column, const std::string& text) = 0;
  virtual void setCountDisplay(const std::string& text) = 0;

  // Main window.
  virtual void setStatusText(const std::string& text) = 0;  // status display 1044
  virtual void enableCollectButton(bool enable) = 0;       // collect button 1031
  virtual void showMessage(const std::string& text) = 0;   // modal, OK only; returns when closed
};

}  // namespace gleaner
