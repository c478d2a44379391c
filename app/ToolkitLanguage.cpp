#include "app/ToolkitLanguage.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/translation.h>

namespace gleaner {

bool useChineseForToolkitTexts() {
  auto* translations = new wxTranslations();
#ifdef __WXMSW__
  // Embedded as the resource "wxstd_zh_CN" of type MOFILE.
  translations->SetLoader(new wxResourceTranslationsLoader());
#endif
  translations->SetLanguage(wxLANGUAGE_CHINESE_SIMPLIFIED);
  wxTranslations::Set(translations);
  wxLogNull quiet;
  return translations->AddStdCatalog();
}

}  // namespace gleaner
