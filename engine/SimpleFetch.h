// One-call download of the item page at the start of a buyers run.
#pragma once

#include <string>

namespace gleaner {

// The page text (every body line followed by "\r\n"). Redirects are followed
// by the client. Throws InternetError when the address is empty or malformed,
// the server cannot be reached or the body breaks off.
std::string SimpleFetch(const std::string& address);

}  // namespace gleaner
