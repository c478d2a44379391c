// One HTTP request and its response: request headers, send, status code, raw
// response headers and the body read line by line. Made by
// HttpConnection::openRequest (sent by sendRequest) or by
// InternetSession::openUrl (already sent).
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "net/InternetSession.h"

namespace gleaner {

class CurlTransfer;

class HttpFile {
 public:
  ~HttpFile();
  HttpFile(const HttpFile&) = delete;
  HttpFile& operator=(const HttpFile&) = delete;

  // Adds each "Name: value" line of headers (lines end in CR LF or LF) whose
  // name is not yet among the request's headers; a header already there is
  // kept as it is. Only before sendRequest. Throws InternetError for a line
  // without a name or after the request was sent.
  void addRequestHeaders(std::string_view headers);
  const std::vector<std::string>& requestHeaders() const { return headers_; }

  // Sends the request and waits for the head of the response. A request
  // opened on a connection follows redirects itself, as a browser would:
  // 301, 302, 303, 307 and 308 whose Location (any case, relative or not)
  // names an http address, one transfer per hop with that hop's own request
  // line, at most kMaxRedirects hops. A redirect it does not follow (another
  // scheme, no Location) is handed back as the response. Throws InternetError
  // when the server cannot be reached or does not answer, and when the hops
  // run out (a redirect loop).
  void sendRequest();
  static constexpr int kMaxRedirects = 10;

  // Of the final response; only after the request was sent.
  int queryStatusCode() const;
  // Status line and header lines, each ending in CR LF, then an empty line.
  std::string queryRawHeaders() const;

  // The next line of the body: it runs up to a line feed, which is not part of
  // it, nor is a carriage return right before the line feed, so CR LF and LF
  // bodies read alike. A last line without a line feed counts. False at the
  // end of the body. Throws InternetError when the body breaks off, stalls or
  // transfers are aborted: a cut body never reads as a whole one.
  bool readLine(std::string& line);
  // The rest of the body as it came (after the lines already read). Throws
  // as readLine does.
  std::string readBody();

  // Ends the transfer and frees its connection; later calls fail.
  void close();

 private:
  friend class HttpConnection;
  friend class InternetSession;

  // Who follows redirects: this client, hop by hop (requests opened on a
  // connection), or libcurl within one transfer (whole addresses, which carry
  // no request target of their own).
  enum class Redirects { ByClient, ByLibcurl };

  HttpFile(std::string url, std::string requestTarget, const InternetSession& session, Redirects redirects);
  CurlTransfer& sentTransfer() const;
  std::unique_ptr<CurlTransfer> startTransfer(const std::string& url, const std::string& requestTarget,
                                              std::chrono::steady_clock::time_point deadline) const;
  std::unique_ptr<CurlTransfer> followRedirects(std::unique_ptr<CurlTransfer> transfer,
                                                std::chrono::steady_clock::time_point deadline) const;

  std::string url_;
  std::string requestTarget_;
  std::string agent_;
  AccessType access_;
  std::size_t maxBodyBytes_;
  const std::atomic<bool>* abortFlag_;
  Redirects redirects_;
  std::vector<std::string> headers_;
  std::unique_ptr<CurlTransfer> transfer_;
  bool closed_ = false;
};

}  // namespace gleaner
