#include "engine/RunRequest.h"

#include <algorithm>

#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

std::optional<std::string> fieldOf(const RunRequest::Fields& fields, const std::string& name) {
  for (const auto& [key, value] : fields) {
    if (key == name) return value;
  }
  return std::nullopt;
}

bool isNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("-0123456789") == std::string::npos;
}

// A batch's entries hold no line break (they are trimmed lines).
std::string joinedLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

RunRequest::Fields RunRequest::fields() const {
  return {
      {"job", std::to_string(jobNumber(job))},
      {"keyword", keyword},
      {"pages", std::to_string(pages)},
      {"sort", std::to_string(static_cast<int>(sort))},
      {"buyer_protection", buyerProtection ? "1" : "0"},
      {"alipay", alipay ? "1" : "0"},
      {"online", online ? "1" : "0"},
      {"item_address", itemAddress},
      {"level", levelFilter},
      {"batch", joinedLines(batch)},
  };
}

std::vector<std::string> RunRequest::entries() const {
  if (isBatch()) return batch;
  return {job == Job::Buyers ? itemAddress : keyword};
}

RunRequest RunRequest::entry(std::size_t index) const {
  RunRequest single = *this;
  single.batch.clear();
  const std::string subject = entries().at(index);
  (job == Job::Buyers ? single.itemAddress : single.keyword) = subject;
  return single;
}

std::optional<RunRequest> RunRequest::fromFields(const Fields& fields) {
  const auto job = fieldOf(fields, "job");
  const auto pages = fieldOf(fields, "pages");
  const auto sort = fieldOf(fields, "sort");
  if (!job || !isNumber(*job) || !pages || !isNumber(*pages) || !sort || !isNumber(*sort)) return std::nullopt;
  const auto jobValue = jobOfNumber(gbk::decimalToInt(*job));
  const int sortValue = gbk::decimalToInt(*sort);
  if (!jobValue || sortValue < 0 || sortValue > static_cast<int>(OfferSort::Price)) return std::nullopt;
  RunRequest request;
  request.job = *jobValue;
  request.pages = gbk::decimalToInt(*pages);
  request.sort = static_cast<OfferSort>(sortValue);
  request.keyword = fieldOf(fields, "keyword").value_or("");
  request.buyerProtection = fieldOf(fields, "buyer_protection") == "1";
  request.alipay = fieldOf(fields, "alipay") == "1";
  request.online = fieldOf(fields, "online") == "1";
  request.itemAddress = fieldOf(fields, "item_address").value_or("");
  request.levelFilter = fieldOf(fields, "level").value_or("");
  request.batch = splitLines(fieldOf(fields, "batch").value_or(""));
  return request;
}

RunSettings RunSettings::defaults(Job job, const std::string& itemHost) {
  RunSettings settings;
  settings.job = job;
  settings.keyword = std::string(literals::kDefaultKeyword);
  settings.pagesText = std::string(literals::kDefaultPageCount);
  settings.itemAddress = "http://" + itemHost + std::string(literals::kSampleItemPath);
  settings.levelText = std::string(literals::kAllCreditLevels);
  return settings;
}

namespace {

// An optional sign and at least one digit, nothing else.
bool isPageCount(const std::string& text) {
  const std::size_t digits = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
  return text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// The refusal of a search's keyword and page count; empty when both can be used.
std::string_view searchRefusal(const std::string& keyword, bool batch, const std::string& pagesText, Job job) {
  if (keyword.empty() && !batch) return literals::kFillKeyword;
  // Only the offer search insists on a page count; an empty one of the
  // seller search reads as 0 pages, which still reads the first.
  if (pagesText.empty()) return job == Job::Offers ? literals::kFillPageCount : std::string_view();
  if (!isPageCount(pagesText)) return literals::kPageCountNotNumber;
  return {};
}

}  // namespace

SettingsReading readRunSettings(const RunSettings& settings) {
  const bool searches = settings.job != Job::Buyers;
  SettingsReading reading;
  if (searches && !settings.keywordLeftOut.empty()) {
    reading.leftOutWarning = literals::leftOutWarningUtf8(settings.keywordLeftOut);
  }
  const std::string keyword = gbk::trimTyped(settings.keyword);
  const std::string pagesText = gbk::trimTyped(settings.pagesText);
  if (searches) {
    const std::string_view refusal = searchRefusal(keyword, !settings.batch.empty(), pagesText, settings.job);
    if (!refusal.empty()) {
      reading.refusal = std::string(refusal);
      return reading;
    }
  }
  RunRequest request;
  request.job = settings.job;
  if (searches) {
    request.keyword = keyword;
    request.pages = gbk::decimalToInt(pagesText);
  }
  if (settings.job == Job::Offers) {
    request.sort = settings.sort;
    request.buyerProtection = settings.buyerProtection;
    request.alipay = settings.alipay;
    request.online = settings.online;
  }
  if (settings.job == Job::Buyers) request.itemAddress = gbk::trimTyped(settings.itemAddress);
  if (settings.job == Job::Sellers) request.levelFilter = gbk::trimTyped(settings.levelText);
  request.batch = settings.batch;
  reading.request = request;
  return reading;
}

}  // namespace gleaner
