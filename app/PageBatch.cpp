#include "app/PageBatch.h"

#include "app/BatchDialog.h"
#include "app/TemplatePage.h"
#include "res/AppTexts.h"
#include "text/GbkConvert.h"

namespace gleaner {

PageBatch::PageBatch(TemplatePage& page, int box, int button, bool items)
    : page_(page), box_(box), button_(button), items_(items) {}

void PageBatch::bind() {
  page_.Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { choose(); }, button_);
}

void PageBatch::choose() {
  BatchDialog dialog(page_.GetParent(), items_, entries_);
  if (dialog.ShowModal() == wxID_OK) set(dialog.entries());
}

void PageBatch::readSearch(RunSettings& settings) const {
  settings.batch = entries_;
  if (!entries_.empty()) return;
  gbk::GbkConversion keyword = page_.controlTextLeavingOut(box_);
  settings.keyword = std::move(keyword.gbk);
  settings.keywordLeftOut = std::move(keyword.leftOut);
}

void PageBatch::set(std::vector<std::string> entries) {
  wxWindow* box = page_.FindWindow(box_);
  if (entries_.empty() && !entries.empty()) single_ = page_.controlText(box_);
  const bool wasBatch = !entries_.empty();
  entries_ = std::move(entries);
  if (entries_.empty()) {
    if (wasBatch) page_.setControlText(box_, single_);
  } else {
    const char* queued = items_ ? res::kBatchQueuedItems : res::kBatchQueuedKeywords;
    page_.setControlText(box_, gbk::fromUtf8(wxString::Format(wxString::FromUTF8(queued), entries_.size()).utf8_string()));
  }
  if (box != nullptr) box->Enable(entries_.empty());
}

}  // namespace gleaner
