// Messages of failures that end a run before it walks, for the user: what
// happened, what to do, and the library's own words on the last line. GBK,
// lines ended by CR LF like the engine's other texts.
#pragma once

#include <string>

namespace gleaner {

// A buyers run whose item page could not be downloaded: an address that is
// no web address at all is the user's to correct; anything else is the
// network's. detail: the internet client's report.
std::string itemPageFailureMessage(const std::string& itemAddress, const std::string& detail);

// A collect whose run thread could not be started.
std::string runThreadFailureMessage();

}  // namespace gleaner
