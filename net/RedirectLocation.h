// Redirects: where one points (the Location header of a response head, a
// reference resolved against the address it came from) and whether the
// client follows it. The one place that judges a redirect.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gleaner {

// 301, 302, 303, 307 and 308: the answers that name another address for the
// same GET.
bool isRedirectStatus(int status);

// The value of the first header line named "Location" (in any case) of a head
// whose lines end in CR LF or LF, white space around it removed. Another
// header that merely ends in "Location" (Content-Location) is not it; the
// status line is not a header. Nothing when there is no such line or its
// value is empty.
std::optional<std::string> locationHeader(std::string_view rawHeaders);

// reference read against base, an absolute address: an address with a scheme
// stands as it is; "//host/x" takes base's scheme; "/x" base's scheme and
// server; "?q" base's path; any other text replaces the last segment of base's
// path. Dot segments are left for the server.
std::string resolveReference(std::string_view base, std::string_view reference);

// What the client does with the answer to a request for from: nothing (not a
// redirect), follow it to next, or fail with reason. A redirect is followed
// only to an address of the scheme it came from, so a download never changes
// from http to https (or back) behind the user's back.
struct RedirectStep {
  enum class Kind { NotARedirect, Follow, Fail };
  Kind kind = Kind::NotARedirect;
  std::string next;    // Follow: the address to request next
  std::string reason;  // Fail: what is wrong with it
};
RedirectStep judgeRedirect(std::string_view from, int status, std::string_view rawHeaders);

}  // namespace gleaner
