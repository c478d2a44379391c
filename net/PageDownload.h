// The one way the tool downloads a page. Redirects (301, 302, 303, 307,
// 308) are followed by this client, one transfer per hop, at most
// kMaxRedirects hops, as long as they stay with the scheme they came from; a
// redirect without a location, to another scheme, or past the last hop
// fails the download. The whole body is read before the page is handed
// over: a body that breaks off, stalls, outgrows its limit or runs past the
// deadline fails like any other failure, never reads as a whole page.
#pragma once

#include <string>
#include <string_view>

#include "net/PageRequest.h"

namespace gleaner {

struct DownloadedPage {
  int status = 0;
  std::string text;  // page text: every body line followed by CR LF
};

inline constexpr int kMaxRedirects = 10;

// Throws InternetError (its kind says what went wrong).
DownloadedPage downloadPage(const PageRequest& request);

// Page text of a body: every line (up to a line feed, which is not part of
// it, nor is a carriage return right before it) followed by "\r\n", the last
// line included; an empty body gives the empty text. Bytes are not converted.
std::string pageTextOf(std::string_view body);
// The same, made in the body's own room: a page is never held twice.
std::string pageTextInPlace(std::string&& body);

}  // namespace gleaner
