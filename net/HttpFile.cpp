#include "net/HttpFile.h"

#include <algorithm>
#include <cctype>

#include "net/CurlTransfer.h"
#include "net/InternetClient.h"
#include "net/InternetError.h"
#include "net/RedirectLocation.h"
#include "net/UrlSplit.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

std::string headerName(std::string_view header) {
  std::string name = gbk::trimWhite(header.substr(0, header.find(':')));
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name;
}

}  // namespace

HttpFile::HttpFile(std::string url, std::string requestTarget, const InternetSession& session, Redirects redirects)
    : url_(std::move(url)),
      requestTarget_(std::move(requestTarget)),
      agent_(session.agent()),
      access_(session.access()),
      maxBodyBytes_(session.maxBodyBytes()),
      abortFlag_(session.abortFlag()),
      redirects_(redirects) {}

HttpFile::~HttpFile() = default;

void HttpFile::addRequestHeaders(std::string_view headers) {
  if (transfer_ || closed_) throw InternetError(url_ + ": headers added after the request was sent");
  while (!headers.empty()) {
    std::size_t end = headers.find('\n');
    if (end == std::string_view::npos) end = headers.size();
    std::string_view line = headers.substr(0, end);
    headers.remove_prefix(std::min(end + 1, headers.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || headerName(line).empty()) {
      throw InternetError(url_ + ": malformed request header \"" + std::string(line) + "\"");
    }
    const std::string name = headerName(line);
    const bool present = std::any_of(headers_.begin(), headers_.end(),
                                     [&](const std::string& header) { return headerName(header) == name; });
    if (!present) headers_.emplace_back(line);
  }
}

void HttpFile::sendRequest() {
  if (closed_) throw InternetError(url_ + ": request already closed");
  if (transfer_) throw InternetError(url_ + ": request already sent");
  // One deadline for the whole download, every hop included.
  const auto deadline = std::chrono::steady_clock::now() + InternetClient::limits().totalTimeout;
  auto transfer = startTransfer(url_, requestTarget_, deadline);
  if (redirects_ == Redirects::ByClient) transfer = followRedirects(std::move(transfer), deadline);
  transfer_ = std::move(transfer);
}

std::unique_ptr<CurlTransfer> HttpFile::startTransfer(const std::string& url, const std::string& requestTarget,
                                                      std::chrono::steady_clock::time_point deadline) const {
  CurlTransfer::Options options;
  options.url = url;
  options.requestTarget = requestTarget;
  options.headers = headers_;
  options.userAgent = agent_;
  options.direct = access_ == AccessType::Direct;
  options.followRedirects = redirects_ == Redirects::ByLibcurl;
  options.deadline = deadline;
  options.maxBodyBytes = maxBodyBytes_;
  options.abortFlag = abortFlag_;
  auto transfer = std::make_unique<CurlTransfer>(options);
  transfer->start();
  return transfer;
}

std::unique_ptr<CurlTransfer> HttpFile::followRedirects(std::unique_ptr<CurlTransfer> transfer,
                                                        std::chrono::steady_clock::time_point deadline) const {
  // url_ names only the server ("http://server:port/"); the target completes it.
  std::string address = url_.substr(0, url_.size() - 1) + requestTarget_;
  for (int hops = 0; isRedirectStatus(transfer->statusCode()); ++hops) {
    const auto location = locationHeader(transfer->rawHeaders());
    if (!location) break;
    const std::string next = resolveReference(address, *location);
    const auto split = UrlSplit::split(next);
    if (!split || split->serviceType() != ServiceType::Http) break;  // handed back as it is
    if (hops == kMaxRedirects) {
      throw InternetError(address + ": more than " + std::to_string(kMaxRedirects) + " redirects");
    }
    address = next;
    transfer.reset();  // frees the previous hop's connection first
    transfer = startTransfer("http://" + split->server() + ":" + std::to_string(split->port()) + "/",
                             split->object(), deadline);
  }
  return transfer;
}

CurlTransfer& HttpFile::sentTransfer() const {
  if (closed_) throw InternetError(url_ + ": request already closed");
  if (!transfer_) throw InternetError(url_ + ": request not sent");
  return *transfer_;
}

int HttpFile::queryStatusCode() const { return sentTransfer().statusCode(); }

std::string HttpFile::queryRawHeaders() const { return sentTransfer().rawHeaders(); }

bool HttpFile::readLine(std::string& line) { return sentTransfer().readLine(line); }

std::string HttpFile::readBody() { return sentTransfer().readRest(); }

void HttpFile::close() {
  transfer_.reset();
  closed_ = true;
}

}  // namespace gleaner
