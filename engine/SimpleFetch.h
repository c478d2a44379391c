// One-call download of the item page at the start of a buyers run.
#pragma once

#include <string>

namespace gleaner {

class StopSignal;

// The page text (every body line followed by "\r\n"). Redirects are followed
// by the client; the status is not examined, so an error page's body is the
// result. Throws InternetError when the address is empty, malformed or not
// http/https, the server cannot be reached or the body breaks off, and when
// stop (if given) is requested during the download.
std::string SimpleFetch(const std::string& address, const StopSignal* stop = nullptr);

}  // namespace gleaner
