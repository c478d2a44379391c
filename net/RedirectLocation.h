// Where a redirect points: the Location header of a response head, and a
// reference resolved against the address it came from.
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

}  // namespace gleaner
