#include "extract/RuleSource.h"

#include "extract/ExtractionFailure.h"
#include "extract/RuleObserver.h"
#include "extract/ScanStopped.h"
#include "extract/StopSignal.h"
#include "net/InternetError.h"
#include "net/PageDownload.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner {

RuleSource::RuleSource(const Sites& sites, RuleObserver* observer, const StopSignal* stop)
    : sites_(sites), observer_(observer), stop_(stop) {}

void RuleSource::useText(const RuleFile& rule, std::string text) { ownTexts_[&rule] = std::move(text); }

std::optional<std::string> RuleSource::pattern(const RuleFile& rule) {
  if (const auto own = ownTexts_.find(&rule); own != ownTexts_.end()) {
    if (observer_ != nullptr) observer_->ruleApplied(rule);
    return ruleTextToPattern(own->second);
  }
  const std::string where = address(rule);
  std::optional<std::string> text;
  try {
    text = downloadRuleFile(where, rule.role == RuleRole::EmptyMarker, stop_ != nullptr ? &stop_->flag() : nullptr);
  } catch (const std::exception& e) {
    if (stop_ != nullptr && stop_->requested()) throw ScanStopped();
    if (observer_ != nullptr) {
      observer_->ruleApplied(rule);
      observer_->ruleFailed(rule, RuleFailure::Download);
    }
    throw ExtractionFailure(literals::downloadFailedReport(where, e.what()));
  }
  if (!text) return std::nullopt;
  if (observer_ != nullptr) observer_->ruleApplied(rule);
  return ruleTextToPattern(*text);
}

std::optional<std::string> downloadRuleFile(const std::string& address, bool optional,
                                            const std::atomic<bool>* abort) {
  PageRequest request = PageRequest::wholeAddress(address);
  request.maxBodyBytes = RuleSource::kMaxRuleFileBytes;
  request.abortFlag = abort;
  DownloadedPage file = downloadPage(request);
  if (optional && file.status == 404) return std::nullopt;
  if (file.status != 200) {
    throw InternetError(address + ": no rule file there (status " + std::to_string(file.status) + ")",
                        FailureKind::Status, file.status);
  }
  return std::move(file.text);
}

std::string ruleTextToPattern(std::string_view ruleText) { return gbk::removeAll(ruleText, "\r\n"); }

}  // namespace gleaner
