#include "engine/PageFetcher.h"

#include <memory>
#include <string_view>

#include "engine/CollectionState.h"
#include "extract/ExtractorWindow.h"
#include "net/HttpConnection.h"
#include "net/HttpFile.h"
#include "net/InternetError.h"
#include "net/InternetSession.h"
#include "net/PageTextReader.h"
#include "net/UrlSplit.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

constexpr std::string_view kAgent = "Microsoft MFC APP";
constexpr std::string_view kRequestHeaders = "Accept: text/*\r\nUser-Agent: MFC\r\n";
constexpr std::string_view kLocation = "Location: ";

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

bool isRedirect(int status) { return status == 301 || status == 302 || status == 303; }

// The rest of the first "Location: " header line, without its line end.
std::string redirectTarget(const std::string& rawHeaders) {
  const std::size_t hit = gbk::find(rawHeaders, kLocation);
  if (hit == gbk::npos) throw InternetError("redirect without a location");
  const std::size_t start = hit + kLocation.size();
  const std::size_t end = rawHeaders.find_first_of("\r\n", start);
  return rawHeaders.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The request whose answer is 200. One redirect is followed by hand; a second
// one fails the page like any other status.
OpenRequest openPage(InternetSession& session, const std::string& address) {
  OpenRequest request = sendGet(session, address);
  if (isRedirect(request.file->queryStatusCode())) {
    const std::string target = redirectTarget(request.file->queryRawHeaders());
    request.close();
    request = sendGet(session, target);
  }
  const int status = request.file->queryStatusCode();
  if (status != 200) throw InternetError(address + ": status " + std::to_string(status));
  return request;
}

}  // namespace

std::optional<std::string> PageFetcher(const std::string& address, CollectionState& state, ExtractorWindow& window) {
  InternetSession session(std::string(kAgent), AccessType::Direct);
  try {
    OpenRequest request = openPage(session, address);
    // A body that breaks off drops the page like any other failure: a cut page
    // would give rows of a page that was never read whole.
    std::string text = readPageText(*request.file);
    request.close();
    return text;
  } catch (const std::exception&) {
    // The failure itself is dropped; the page is given up without a retry.
  }
  state.releaseWorker();
  window.reportStatus(address + std::string(literals::kDownloadFailed), false);
  return std::nullopt;
}

}  // namespace gleaner
