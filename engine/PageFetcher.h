// Downloads one result page for a worker: fixed headers, direct connection,
// one redirect followed by hand, status 200 only.
#pragma once

#include <optional>
#include <string>

namespace gleaner {

class CollectionState;
class ExtractorWindow;

// The page text (every body line followed by "\r\n"), or nothing when the page
// failed. On failure the worker's slot has already been released and the
// report line (address + "\r\nDownload failed!\r\n") passed to reportStatus.
// A body that breaks off or stalls fails the page like any other failure.
std::optional<std::string> PageFetcher(const std::string& address, CollectionState& state, ExtractorWindow& window);

}  // namespace gleaner
