#include "cli/CliOptions.h"

#include <map>

#include "cli/FlagReader.h"
#include "text/GbkConvert.h"

namespace gleaner::cli {

const char* const kUsage =
    "usage:\n"
    "  gleaner-cli offers  [--keyword K | --keywords-file F] [--pages N]\n"
    "                      [--sort normal|pop|booked|credit|newest|price|none]\n"
    "                      [--buyer-protection] [--alipay] [--online]\n"
    "  gleaner-cli buyers  [--item-url URL | --item-urls-file F]\n"
    "  gleaner-cli sellers [--keyword K | --keywords-file F] [--pages N] [--level TEXT]\n"
    "  gleaner-cli resume  --store FILE [--out FILE] [--json-summary FILE]\n"
    "  gleaner-cli export  --store FILE --out FILE.xlsx|FILE.csv [--sellers]\n"
    "  gleaner-cli test-rule --rule FILE|NAME [--page FILE | --url URL] [--cleaned]\n"
    "  --keywords-file F        a batch: one keyword per line (UTF-8, a BOM allowed; blank\n"
    "                           lines and lines starting with # skipped), each walked in\n"
    "                           turn; rows get the keyword as a fifth column\n"
    "  --item-urls-file F       a batch of item addresses, one per line, as above\n"
    "  resume                   goes on with the run a --store file recorded, stopped,\n"
    "                           crashed or killed, from the page it was reading\n"
    "common options:\n"
    "  --out FILE               write the rows to FILE instead of standard output (UTF-8\n"
    "                           CSV with a byte-order mark, for Excel)\n"
    "  --format csv|tsv         csv (RFC 4180, default) or tsv (\\t \\n \\r \\\\ escaped)\n"
    "  --encoding utf-8|gbk     utf-8 (default) or the raw GBK bytes of the list\n"
    "  --header                 write the job's four column headers first\n"
    "  --store FILE             also keep the list in the result store FILE as rows are\n"
    "                           found (SQLite; read it back with gleaner-cli export)\n"
    "  --json-summary FILE      write the run's summary (pages, rows, each rule's use,\n"
    "                           warnings) to FILE as JSON at the end\n"
    "  --help                   this text\n"
    "Defaults are the tab pages': keyword 核桃, 10 pages, sort 综合, level 所有信用等级,\n"
    "the sample item address. Spaces around a value are dropped; a keyword's characters\n"
    "that GBK cannot hold are named and left out; --pages is a number (0 or less: the\n"
    "first page only). Rows go to standard output in list order, each written\n"
    "as it is found; status lines to standard error. Ctrl-C (or SIGTERM) stops the\n"
    "run like the stop button, a second one at once; the rows found so\n"
    "far are written. Exit status: 0 every page read, or the site's results\n"
    "ended; 1 nothing could be downloaded, the item address is no item page with\n"
    "reviews, or the rows could not be written; 2 refused run (no keyword, a page\n"
    "count that is no number), bad usage, or an --out, --store or --json-summary\n"
    "file that cannot be created or names another of them; 3 pages were downloaded\n"
    "but every extraction failed (rule files missing, broken or unreachable); 4 a\n"
    "page after the first failed and ended the walk; 130 or 143 stopped by SIGINT\n"
    "or SIGTERM; 141 standard output closed under the run. The run ends with its\n"
    "outcome and summary on standard error.\n"
    "gleaner-cli test-rule --help tells how to try a rule file on a page.\n"
    "Environment: GLEANER_RULE_SERVER=host[:port] uses that rule server instead of the\n"
    "built-in one; GLEANER_CONNECT_TO=HOST:PORT:CONNECT-HOST:CONNECT-PORT[,...] sends\n"
    "connections for HOST:PORT elsewhere.\n";

OfferSort offerSortOf(const std::string& sort) {
  static const std::map<std::string, OfferSort> kSorts = {
      {"normal", OfferSort::Normal}, {"pop", OfferSort::Popular}, {"booked", OfferSort::Booked},
      {"credit", OfferSort::Credit}, {"newest", OfferSort::Newest}, {"price", OfferSort::Price},
      {"none", OfferSort::None}};
  const auto it = kSorts.find(sort);
  if (it == kSorts.end()) throw UsageError("unknown --sort value: " + sort);
  return it->second;
}

RunSettings runSettingsOf(const CliOptions& options, const std::string& itemHost) {
  RunSettings settings = RunSettings::defaults(options.job.value_or(Job::Offers), itemHost);
  if (options.keyword) {
    gbk::GbkConversion keyword = gbk::fromUtf8LeavingOut(*options.keyword);
    settings.keyword = std::move(keyword.gbk);
    settings.keywordLeftOut = std::move(keyword.leftOut);
  }
  if (options.pages) settings.pagesText = gbk::fromUtf8(*options.pages);
  if (options.itemUrl) settings.itemAddress = gbk::fromUtf8(*options.itemUrl);
  if (options.level) settings.levelText = gbk::fromUtf8(*options.level);
  settings.sort = offerSortOf(options.sort);
  settings.buyerProtection = options.buyerProtection;
  settings.alipay = options.alipay;
  settings.online = options.online;
  return settings;
}

namespace {

Job jobOf(const std::string& word) {
  if (word == "offers") return Job::Offers;
  if (word == "buyers") return Job::Buyers;
  if (word == "sellers") return Job::Sellers;
  throw UsageError("unknown job: " + word + " (offers, buyers or sellers)");
}

bool flagAllowed(Job job, const std::string& flag) {
  static const std::map<std::string, std::vector<Job>> kFlags = {
      {"--keyword", {Job::Offers, Job::Sellers}},
      {"--pages", {Job::Offers, Job::Sellers}},
      {"--sort", {Job::Offers}},
      {"--buyer-protection", {Job::Offers}},
      {"--alipay", {Job::Offers}},
      {"--online", {Job::Offers}},
      {"--item-url", {Job::Buyers}},
      {"--level", {Job::Sellers}},
      {"--keywords-file", {Job::Offers, Job::Sellers}},
      {"--item-urls-file", {Job::Buyers}},
  };
  const auto it = kFlags.find(flag);
  if (it == kFlags.end()) return true;  // a common option
  for (const Job m : it->second) {
    if (m == job) return true;
  }
  return false;
}

bool isHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

bool formatIsTsv(const std::string& format) {
  if (format != "csv" && format != "tsv") throw UsageError("--format is csv or tsv, not " + format);
  return format == "tsv";
}

bool encodingIsGbk(const std::string& encoding) {
  if (encoding != "utf-8" && encoding != "utf8" && encoding != "gbk") {
    throw UsageError("--encoding is utf-8 or gbk, not " + encoding);
  }
  return encoding == "gbk";
}

}  // namespace

CliOptions parseCliOptions(const std::vector<std::string>& args) {
  CliOptions options;
  // The job word comes first; flags before it are read only for --help and
  // for their own faults.
  const bool jobFirst = !args.empty() && args[0].rfind("-", 0) != 0;
  if (jobFirst) options.job = jobOf(args[0]);
  const std::vector<std::string> flagArguments(args.begin() + (jobFirst ? 1 : 0), args.end());
  // "--keyword --help" lacks its keyword, it asks for no help.
  FlagReader flags(flagArguments);
  while (flags.next()) {
    if (isHelp(flags.argument())) {
      options.help = true;
      return options;
    }
    const std::string& flag = flags.flag();
    if (options.job && !flagAllowed(*options.job, flag)) {
      throw UsageError(flag + " does not belong to the job " + args[0]);
    }
    if (flag == "--keyword") options.keyword = flags.value();
    else if (flag == "--pages") options.pages = flags.value();
    else if (flag == "--item-url") options.itemUrl = flags.value();
    else if (flag == "--level") options.level = flags.value();
    else if (flag == "--sort") { options.sort = flags.value(); offerSortOf(options.sort); }
    else if (flag == "--buyer-protection") options.buyerProtection = true;
    else if (flag == "--alipay") options.alipay = true;
    else if (flag == "--online") options.online = true;
    else if (flag == "--keywords-file" || flag == "--item-urls-file") options.listFile = flags.value();
    else if (flag == "--out") options.outPath = flags.value();
    else if (flag == "--header") options.header = true;
    else if (flag == "--store") options.storePath = flags.value();
    else if (flag == "--json-summary") options.jsonSummaryPath = flags.value();
    else if (flag == "--format") {
      const std::string format = flags.value();
      if (format != "csv" && format != "tsv") throw UsageError("--format is csv or tsv, not " + format);
      options.tsv = format == "tsv";
    } else if (flag == "--encoding") {
      const std::string encoding = flags.value();
      if (encoding != "utf-8" && encoding != "utf8" && encoding != "gbk") {
        throw UsageError("--encoding is utf-8 or gbk, not " + encoding);
      }
      options.gbk = encoding == "gbk";
    } else {
      throw UsageError("unknown option: " + flag);
    }
    if (flags.hasInlineValue() && (flag == "--buyer-protection" || flag == "--alipay" || flag == "--online" || flag == "--header")) {
      throw UsageError(flag + " takes no value");
    }
  }
  if (!options.job) throw UsageError("no job given (offers, buyers or sellers)");
  if (options.listFile && (options.keyword || options.itemUrl)) {
    throw UsageError("a batch file and a single keyword or item address do not go together");
  }
  return options;
}

CliOptions parseResumeOptions(const std::vector<std::string>& args) {
  CliOptions options;
  FlagReader flags(args);
  while (flags.next()) {
    if (isHelp(flags.argument())) {
      options.help = true;
      return options;
    }
    const std::string& flag = flags.flag();
    if (flag == "--store") options.storePath = flags.value();
    else if (flag == "--out") options.outPath = flags.value();
    else if (flag == "--json-summary") options.jsonSummaryPath = flags.value();
    else if (flag == "--header") options.header = true;
    else if (flag == "--format") options.tsv = formatIsTsv(flags.value());
    else if (flag == "--encoding") options.gbk = encodingIsGbk(flags.value());
    else throw UsageError("unknown option for resume: " + flag);
  }
  if (options.storePath.empty()) throw UsageError("resume needs --store FILE");
  return options;
}

}  // namespace gleaner::cli
