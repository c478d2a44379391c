#include "cli/JsonSummary.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "text/GbkConvert.h"
#include "text/HealthTexts.h"
#include "text/PathText.h"

namespace gleaner::cli {

namespace {

std::string jobName(Job job) {
  switch (job) {
    case Job::Offers: return "offers";
    case Job::Buyers: return "buyers";
    case Job::Sellers: break;
  }
  return "sellers";
}

std::string gbkString(std::string_view gbkText) { return jsonString(gbk::toUtf8(gbkText)); }

std::string failedPageJson(const std::optional<FailedPage>& page) {
  if (!page) return "null";
  return "{\"number\": " + std::to_string(page->number) + ", \"address\": " + gbkString(page->address) +
         ", \"reason\": " + gbkString(page->reason) + ", \"detail\": " + gbkString(page->detail) + "}";
}

}  // namespace

std::string jsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string jsonSummary(const JsonSummaryRun& run) {
  const RunOutcome refused;
  const RunOutcome& outcome = run.outcome != nullptr ? *run.outcome : refused;
  const HealthReport& health = outcome.health;
  const literals::RunCounts& counts = health.counts;
  std::string json = "{\n";
  auto field = [&](const char* name, const std::string& value, bool last = false) {
    json += std::string("  \"") + name + "\": " + value + (last ? "\n" : ",\n");
  };
  field("job", jsonString(jobName(run.job)));
  field("outcome", jsonString(run.outcome != nullptr ? outcomeName(outcome.kind) : "refused"));
  field("stopped", run.outcome != nullptr && outcome.kind == OutcomeKind::Stopped ? "true" : "false");
  field("exitStatus", std::to_string(run.exitStatus));
  field("pages", std::to_string(counts.pages));
  field("rows", std::to_string(counts.rows));
  field("records", std::to_string(health.records));
  field("pagesWithoutRecords", std::to_string(counts.pagesWithoutRecords));
  field("emptyResultPages", std::to_string(counts.emptyResultPages));
  field("ruleFailures", std::to_string(counts.ruleFailures));
  field("lookupsFailed", std::to_string(counts.lookupsFailed));
  field("extractionsFailed", std::to_string(outcome.extractionsFailed));
  field("failedPage", failedPageJson(outcome.failedPage));
  if (!outcome.entries.empty()) {
    const char* subject = run.job == Job::Buyers ? "itemUrl" : "keyword";
    std::string batch = "[";
    for (std::size_t i = 0; i < outcome.entries.size(); ++i) {
      const RunOutcome& entry = outcome.entries[i];
      batch += (i == 0 ? "\n    {\"" : ",\n    {\"") + std::string(subject) + "\": " + gbkString(entry.subject) +
               ", \"outcome\": " + jsonString(outcomeName(entry.kind)) +
               ", \"pages\": " + std::to_string(entry.health.counts.pages) +
               ", \"rows\": " + std::to_string(entry.health.counts.rows) +
               ", \"failedPage\": " + failedPageJson(entry.failedPage) +
               ", \"statusLine\": " + gbkString(entry.statusLine) + "}";
    }
    field("batch", batch + "\n  ]");
  }
  std::string rules = "{";
  for (std::size_t i = 0; i < health.rules.size(); ++i) {
    const auto& [rule, c] = health.rules[i];
    rules += (i == 0 ? "\n    " : ",\n    ") + jsonString(rule->name) + ": {\"path\": " + jsonString(rule->path) +
             ", \"applied\": " + std::to_string(c.applied) + ", \"matched\": " + std::to_string(c.matched) +
             ", \"failed\": " + std::to_string(c.failed()) + ", \"failures\": {\"download\": " +
             std::to_string(c.downloadFailed) + ", \"compile\": " + std::to_string(c.compileFailed) +
             ", \"runaway\": " + std::to_string(c.runaway) + ", \"emptyMatch\": " + std::to_string(c.emptyMatch) +
             "}}";
  }
  rules += health.rules.empty() ? "}" : "\n  }";
  field("rules", rules);
  std::string warnings = "[";
  for (std::size_t i = 0; i < health.warnings.size(); ++i) {
    warnings += (i == 0 ? "\n    " : ",\n    ") + gbkString(health.warnings[i]);
  }
  warnings += health.warnings.empty() ? "]" : "\n  ]";
  field("warnings", warnings);
  field("summary", gbkString(run.outcome != nullptr ? health.summary : literals::runSummary(counts)));
  field("statusLine", gbkString(outcome.statusLine), true);
  return json + "}\n";
}

JsonSummaryFile::JsonSummaryFile(std::string path) : path_(std::move(path)) {
  file_.open(pathFromUtf8(path_), std::ios::binary | std::ios::trunc);
  ok_ = static_cast<bool>(file_);
  if (!ok_) {
    const std::string reason = std::strerror(errno);
    std::cerr << "gleaner-cli: 无法创建摘要文件 " << path_ << "\n"
              << "请换一个可以写入的文件夹或文件名后重试。\n"
              << "(" << reason << ")\n";
  }
}

bool JsonSummaryFile::write(const std::string& json) {
  file_ << json;
  file_.flush();
  if (file_) return true;
  std::cerr << "gleaner-cli: 摘要文件 " << path_ << " 写入失败（磁盘已满？）。\n";
  return false;
}

}  // namespace gleaner::cli
