#include "net/PageDownload.h"

#include <chrono>
#include <cstring>
#include <memory>

#include "net/CurlTransfer.h"
#include "net/InternetClient.h"
#include "net/InternetError.h"
#include "net/RedirectLocation.h"
#include "net/UrlSplit.h"

namespace gleaner {

namespace {

constexpr const char* kApplicationName = "gleaner";
constexpr const char* kResultPageAgent = "Microsoft MFC APP";

using Deadline = std::chrono::steady_clock::time_point;

// The address split, or the reason it cannot be requested the way asked.
UrlSplit checkedAddress(const PageRequest& request, const std::string& address) {
  const auto url = UrlSplit::split(address);
  if (request.requestLine == PageRequest::RequestLine::AsItStands) {
    if (!url || url->serviceType() != ServiceType::Http) {
      throw InternetError("not an http address: " + address, FailureKind::BadAddress);
    }
  } else if (!url || url->serviceType() == ServiceType::Other) {
    throw InternetError("cannot open \"" + address + "\": not an http or https address", FailureKind::BadAddress);
  }
  return *url;
}

std::unique_ptr<CurlTransfer> startHop(const PageRequest& request, const std::string& address, Deadline deadline) {
  const UrlSplit url = checkedAddress(request, address);
  CurlTransfer::Options options;
  if (request.requestLine == PageRequest::RequestLine::AsItStands) {
    // The address libcurl connects to names only the server; the object goes
    // on the request line as it stands (libcurl would leave a fragment out).
    options.url = url.scheme() + "://" + url.server() + ":" + std::to_string(url.port()) + "/";
    options.requestTarget = url.object();
  } else {
    options.url = address;
  }
  options.headers = request.headers;
  options.userAgent = request.agent.empty() ? kApplicationName : request.agent;
  options.direct = request.access == AccessType::Direct;
  options.deadline = deadline;
  options.maxBodyBytes = request.maxBodyBytes;
  options.abortFlag = request.abortFlag;
  auto transfer = std::make_unique<CurlTransfer>(options);
  transfer->start();
  return transfer;
}

}  // namespace

PageRequest PageRequest::resultPage(std::string address) {
  PageRequest request;
  request.address = std::move(address);
  request.requestLine = RequestLine::AsItStands;
  request.agent = kResultPageAgent;
  request.access = AccessType::Direct;
  request.headers = {"Accept: text/*", "User-Agent: MFC"};
  request.requiredStatus = 200;
  return request;
}

PageRequest PageRequest::wholeAddress(std::string address) {
  PageRequest request;
  request.address = std::move(address);
  return request;
}

DownloadedPage downloadPage(const PageRequest& request) {
  // One deadline for the whole download, every hop included.
  const Deadline deadline = std::chrono::steady_clock::now() + InternetClient::limits().totalTimeout;
  std::string address = request.address;
  std::unique_ptr<CurlTransfer> transfer = startHop(request, address, deadline);
  for (int hops = 0;; ++hops) {
    const RedirectStep step = judgeRedirect(address, transfer->statusCode(), transfer->rawHeaders());
    if (step.kind == RedirectStep::Kind::NotARedirect) break;
    if (step.kind == RedirectStep::Kind::Fail) throw InternetError(step.reason, FailureKind::Redirect);
    if (hops == kMaxRedirects) {
      throw InternetError(address + ": more than " + std::to_string(kMaxRedirects) + " redirects",
                          FailureKind::Redirect);
    }
    address = step.next;
    transfer.reset();  // frees the previous hop's connection first
    transfer = startHop(request, address, deadline);
  }
  const int status = transfer->statusCode();
  if (request.requiredStatus != 0 && status != request.requiredStatus) {
    throw InternetError(request.address + ": status " + std::to_string(status), FailureKind::Status, status);
  }
  // The whole body first, then the text in one pass into room of its exact
  // size: a page of the size limit costs about twice its size, never more.
  return {status, pageTextInPlace(transfer->readRest())};
}

std::string pageTextOf(std::string_view body) { return pageTextInPlace(std::string(body)); }

std::string pageTextInPlace(std::string&& body) {
  const auto bareLineFeed = [&](std::size_t at) { return body[at] == '\n' && (at == 0 || body[at - 1] != '\r'); };
  std::size_t bareLineFeeds = 0;
  for (std::size_t at = body.find('\n'); at != std::string::npos; at = body.find('\n', at + 1)) {
    if (bareLineFeed(at)) ++bareLineFeeds;
  }
  const bool lastLineOpen = !body.empty() && body.back() != '\n';
  const std::size_t size = body.size();
  std::string text = std::move(body);
  text.resize(size + bareLineFeeds + (lastLineOpen ? 2 : 0));
  // From the back, each line is moved as one block to its place, a CR put
  // before its line feed where it had none; what is still to be moved
  // always lies before where it goes.
  std::size_t write = text.size();
  if (lastLineOpen) {
    text[--write] = '\n';
    text[--write] = '\r';
  }
  std::size_t lineEnd = size;  // one past the last byte of the line still to move
  while (lineEnd > 0) {
    const std::size_t lineFeed = lineEnd < size || !lastLineOpen ? lineEnd - 1 : std::string::npos;
    std::size_t runStart = lineEnd;
    if (lineFeed != std::string::npos) {
      // text[lineFeed] is the line's line feed; the run before it is the line.
      const bool bare = lineFeed == 0 || text[lineFeed - 1] != '\r';
      text[--write] = '\n';
      if (bare) text[--write] = '\r';
      runStart = lineFeed;
    }
    const std::size_t previous = runStart == 0 ? std::string::npos : text.rfind('\n', runStart - 1);
    const std::size_t lineStart = previous == std::string::npos ? 0 : previous + 1;
    const std::size_t length = runStart - lineStart;
    write -= length;
    if (write != lineStart) std::memmove(text.data() + write, text.data() + lineStart, length);
    lineEnd = lineStart;
  }
  return text;
}

}  // namespace gleaner
