// Peak memory of gleaner-cli against servers that send without end, and
// against a page just under the size limit:
//   (a) a result page whose body never ends;
//   (b) an item page whose body never ends (buyers job);
//   (c) a rule server that sends a rule file without end;
//   (d) a 15 MB result page (crafted text, then the real offers);
//   (e) a batch of 100 keywords of one result page each, kept in a store:
//       its time, peak memory and store size;
//   (f) a result page just under the size limit holding one offer whose
//       company name is most of it, with and without a store;
//   (g) a review page of that size holding one buyer whose name is most of it;
//   (h) a seller run whose product rule matches the empty text: it must end
//       at once, not pause after an empty record at every character.
// Each run's peak resident set is what /usr/bin/time -v reports as "Maximum
// resident set size" (its %M), taken from /usr/bin/time itself: a child forked
// from this program would count this program's pages too. The bound is
// 100 MB.
//
//   build/bench/cli_memory_stress
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "rules/BuiltinRuleServer.h"
#include "sample-site/HostileFiller.h"
#include "sample-site/SampleSite.h"
#include "tests/net/RawServer.h"

namespace {

using namespace gleaner;
using testing::RawServer;

constexpr long kBoundKb = 100 * 1024;

struct Outcome {
  int status = -1;
  long peakKb = 0;
  double seconds = 0;
  int rows = 0;
};

// Lines in a file, its rows.
int countLines(const char* path) {
  int lines = 0;
  if (std::FILE* in = std::fopen(path, "r")) {
    for (int c; (c = std::fgetc(in)) != EOF;) lines += c == '\n';
    std::fclose(in);
  }
  return lines;
}

constexpr const char* kTime = "/usr/bin/time";

// Runs gleaner-cli under /usr/bin/time with args and the environment entries,
// output discarded, killed after 120 s.
Outcome runCli(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  char peakFile[] = "/tmp/gleaner-peak-XXXXXX";
  char rowsFile[] = "/tmp/gleaner-rows-XXXXXX";
  for (char* name : {peakFile, rowsFile}) {
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
  }
  std::fflush(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen(rowsFile, "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    for (const auto& entry : env) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv{const_cast<char*>(kTime), const_cast<char*>("-f"), const_cast<char*>("%M"),
                            const_cast<char*>("-o"), peakFile, const_cast<char*>(GLEANER_CLI_PATH)};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(kTime, argv.data());
    _exit(127);
  }
  Outcome outcome;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(120)) kill(pid, SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // time writes a note before the figure when the command's status is not 0.
  if (std::FILE* in = std::fopen(peakFile, "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, in) != nullptr) outcome.peakKb = std::atol(line);
    std::fclose(in);
  }
  std::remove(peakFile);
  outcome.rows = countLines(rowsFile);
  std::remove(rowsFile);
  return outcome;
}

RawServer::Handler endlessBody() {
  return [](RawServer::Connection& connection) {
    if (connection.readHead().empty()) return;
    if (!connection.send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n")) return;
    const std::string chunk = std::string(64 * 1024 - 1, 'x') + "\n";
    while (connection.send(chunk)) {
    }
  };
}

// A 16 MiB page, under the size limit, of one record whose field is most of it.
constexpr std::size_t kHugeField = 16 * 1024 * 1024 - 4096;

// Answers a review page of one buyer named by a huge field for the first
// review page, an empty one for any other.
RawServer::Handler hugeBuyer(const std::string& emptyPage) {
  return [emptyPage](RawServer::Connection& connection) {
    const std::string head = connection.readHead();
    if (head.empty()) return;
    std::string body = emptyPage;
    if (head.find("currentPage=1 ") != std::string::npos) {
      body = "{\"comments\":[{\"buyer\": [\"" + std::string(kHugeField, 'n') + "\", \"1234\"]}]}\n";
    }
    connection.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n");
    connection.send(body);
  };
}

RawServer::Handler answer(std::string body) {
  return [body = std::move(body)](RawServer::Connection& connection) {
    if (connection.readHead().empty()) return;
    connection.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n");
    connection.send(body);
  };
}

bool report(const char* what, const Outcome& outcome, int expectedStatus) {
  const bool ok = outcome.peakKb < kBoundKb && outcome.status == expectedStatus;
  std::printf("%-48s exit %d (expected %d), %d rows, %.1f s, peak resident %ld kB = %.1f%% of the 100 MB bound\n",
              what, outcome.status, expectedStatus, outcome.rows, outcome.seconds, outcome.peakKb,
              100.0 * outcome.peakKb / kBoundKb);
  return ok;
}

}  // namespace

int main() {
  if (access(kTime, X_OK) != 0) {
    std::printf("%s is needed (Debian package \"time\")\n", kTime);
    return 2;
  }
  sample::SampleSite site;
  site.start();
  BuiltinRuleServer rules;
  rules.start();
  RawServer endless(endlessBody());
  const std::string rulesEnv = "GLEANER_RULE_SERVER=" + rules.hostPort();
  bool ok = true;

  ok &= report("(a) offers, result page without end",
               runCli({"offers", "--pages", "1"}, {"GLEANER_CONNECT_TO=s.1688.com:80:" + endless.hostPort(), rulesEnv}),
               1);
  ok &= report("(b) buyers, item page without end",
               runCli({"buyers"}, {"GLEANER_CONNECT_TO=item.taobao.com:80:" + endless.hostPort(), rulesEnv}), 1);
  ok &= report("(c) offers, rule file without end",
               runCli({"offers", "--pages", "1"},
                      {"GLEANER_CONNECT_TO=" + site.connectToList(), "GLEANER_RULE_SERVER=" + endless.hostPort()}),
               3);

  const std::string bigPage = sample::withHostileFiller(
      sample::PageKind::OfferSearch, site.pages().offerSearchPage("walnut", 1), 15 * 1024 * 1024);
  RawServer big(answer(bigPage));
  // The first entry for a host wins: the big page's goes first.
  const std::string connectTo = "s.1688.com:80:" + big.hostPort() + "," + site.connectToList();
  ok &= report("(d) offers, a 15 MB result page with its offers",
               runCli({"offers", "--keyword", "walnut", "--pages", "1"}, {"GLEANER_CONNECT_TO=" + connectTo, rulesEnv}),
               0);

  char keywords[] = "/tmp/gleaner-keywords-XXXXXX";
  char store[] = "/tmp/gleaner-store-XXXXXX";
  for (char* name : {keywords, store}) close(mkstemp(name));
  std::remove(store);
  if (std::FILE* list = std::fopen(keywords, "w")) {
    for (int i = 0; i < 100; ++i) std::fprintf(list, "walnut%02d\n", i);
    std::fclose(list);
  }
  const Outcome batch = runCli({"offers", "--keywords-file", keywords, "--pages", "1", "--store", store},
                               {"GLEANER_CONNECT_TO=" + site.connectToList(), rulesEnv});
  ok &= report("(e) offers, a batch of 100 keywords with a store", batch, 0);
  struct stat stored {};
  stat(store, &stored);
  std::printf("    %.0f ms a keyword, store %lld kB for %d rows (%.0f bytes a row)\n", batch.seconds * 10,
              static_cast<long long>(stored.st_size) / 1024, batch.rows,
              batch.rows > 0 ? static_cast<double>(stored.st_size) / batch.rows : 0.0);
  for (const char* name : {keywords, store}) std::remove(name);

  RawServer hugeOffer(answer("<a class=\"x\" offerid=\"1\" memberid=\"b2b-1\" title=\"" + std::string(kHugeField, 'M') + "\">\n"));
  const std::string hugeConnect = "s.1688.com:80:" + hugeOffer.hostPort() + "," + site.connectToList();
  ok &= report("(f) offers, one company name of 16 MB",
               runCli({"offers", "--pages", "1"}, {"GLEANER_CONNECT_TO=" + hugeConnect, rulesEnv}), 0);
  ok &= report("(f) the same with a store",
               runCli({"offers", "--pages", "1", "--store", store}, {"GLEANER_CONNECT_TO=" + hugeConnect, rulesEnv}), 0);
  std::remove(store);
  RawServer hugeReviews(hugeBuyer(site.pages().reviewPage(sample::kSampleItemId, 50)));
  ok &= report("(g) buyers, one buyer name of 16 MB",
               runCli({"buyers"}, {"GLEANER_CONNECT_TO=rate.taobao.com:80:" + hugeReviews.hostPort() + "," +
                                       site.connectToList(),
                                   rulesEnv}),
               0);

  char ruleFolder[] = "/tmp/gleaner-rules-XXXXXX";
  const std::string folder = mkdtemp(ruleFolder);
  std::system(("mkdir -p " + folder + "/taobao " + folder + "/ali && printf '(x*)' > " + folder +
               "/taobao/ExtractTextAImg3.txt").c_str());
  sample::SampleSite emptyMatching(sample::SampleSite::Options{{}, folder, std::chrono::milliseconds(3000)});
  emptyMatching.start();
  ok &= report("(h) sellers, a product rule that matches the empty text",
               runCli({"sellers", "--pages", "1"}, {"GLEANER_CONNECT_TO=" + site.connectToList(),
                                                    "GLEANER_RULE_SERVER=127.0.0.1:" +
                                                        std::to_string(emptyMatching.port())}),
               3);
  emptyMatching.stop();
  std::system(("rm -rf " + folder).c_str());
  rules.stop();
  site.stop();
  return ok ? 0 : 1;
}
