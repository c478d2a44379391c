#include "engine/PageFetcher.h"

#include <memory>
#include <string_view>

#include "engine/CollectionState.h"
#include "extract/ExtractorWindow.h"
#include "extract/StopSignal.h"
#include "net/HttpConnection.h"
#include "net/HttpFile.h"
#include "net/InternetError.h"
#include "net/InternetSession.h"
#include "net/PageTextReader.h"
#include "net/RedirectLocation.h"
#include "net/UrlSplit.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

constexpr std::string_view kAgent = "Microsoft MFC APP";
constexpr std::string_view kRequestHeaders = "Accept: text/*\r\nUser-Agent: MFC\r\n";

// A request and the connection it went out on, closed request first.
struct OpenRequest {
  std::unique_ptr<HttpConnection> connection;
  std::unique_ptr<HttpFile> file;

  void close() {
    file.reset();
    connection.reset();
  }
};

OpenRequest sendGet(InternetSession& session, const std::string& address) {
  const auto url = UrlSplit::split(address);
  if (!url || url->serviceType() != ServiceType::Http) throw InternetError("not an http address: " + address);
  OpenRequest request;
  request.connection = session.getHttpConnection(url->server(), url->port());
  request.file = request.connection->openRequest("GET", url->object());
  request.file->addRequestHeaders(kRequestHeaders);
  request.file->sendRequest();
  return request;
}

bool isHandedBackRedirect(int status) { return status == 301 || status == 302 || status == 303; }

// The request whose answer is 200. The client follows plain-http redirects
// itself; a 301, 302 or 303 it hands back (one to another scheme, or without
// a location) gets one step by hand, which fails on anything but an http
// address. Any redirect after that fails the page like any other status.
OpenRequest openPage(InternetSession& session, const std::string& address) {
  OpenRequest request = sendGet(session, address);
  if (isHandedBackRedirect(request.file->queryStatusCode())) {
    const auto target = locationHeader(request.file->queryRawHeaders());
    if (!target) throw InternetError(address + ": redirect without a location");
    request.close();
    request = sendGet(session, *target);
  }
  const int status = request.file->queryStatusCode();
  if (status != 200) throw InternetError(address + ": status " + std::to_string(status));
  return request;
}

}  // namespace

std::string DownloadResultPage(const std::string& address, const StopSignal* stop) {
  InternetSession session(std::string(kAgent), AccessType::Direct);
  if (stop != nullptr) session.setAbortFlag(&stop->flag());
  OpenRequest request = openPage(session, address);
  // A body that breaks off, outgrows its limit or runs past the deadline
  // fails like any other failure: a cut page would give rows of a page that
  // was never read whole.
  std::string text = readPageText(*request.file);
  request.close();
  return text;
}

std::optional<std::string> PageFetcher(const std::string& address, CollectionState& state, ExtractorWindow& window,
                                       const StopSignal* stop) {
  std::string reason;
  try {
    return DownloadResultPage(address, stop);
  } catch (const std::exception& failure) {
    // The page is given up without a retry; the reason goes on the report's
    // last line, for the log.
    reason = failure.what();
  }
  state.releaseWorker();
  if (stop == nullptr || !stop->requested()) window.reportStatus(literals::downloadFailedReport(address, reason), false);
  return std::nullopt;
}

}  // namespace gleaner
