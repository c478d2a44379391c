// The export options (template 136): everything collected, or the seller
// information without duplicate records.
#pragma once

#include <wx/dialog.h>

#include "export/ExportChoice.h"

namespace gleaner {

class ExportDialog : public wxDialog {
 public:
  explicit ExportDialog(wxWindow* parent);

  ExportChoice choice() const;
  void setChoice(ExportChoice choice);

 private:
  // ",导出的信息将会去除重复记录" continues the text of "导出卖家信息".
  void joinSellersNote();
};

}  // namespace gleaner
