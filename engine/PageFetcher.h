// Downloads one result page for a worker: fixed headers, direct connection,
// plain-http redirects followed by the client, one more step by hand for what
// it hands back, status 200 only.
#pragma once

#include <optional>
#include <string>

namespace gleaner {

class CollectionState;
class ExtractorWindow;
class StopSignal;

// The page text (every body line followed by "\r\n"), or nothing when the page
// failed. On failure the worker's slot has already been released and the
// report (address + "\r\nDownload failed!\r\n", then the reason and CR LF)
// passed to reportStatus. A body that breaks off, stalls, outgrows the size
// limit or runs past the deadline fails the page like any other failure.
// A stop (when given) ends the download at once; the page is then dropped
// without a report: the run was stopped, nothing failed.
std::optional<std::string> PageFetcher(const std::string& address, CollectionState& state, ExtractorWindow& window,
                                       const StopSignal* stop = nullptr);

// The download itself, as PageFetcher makes it: the page text, or
// InternetError naming what went wrong.
std::string DownloadResultPage(const std::string& address, const StopSignal* stop = nullptr);

}  // namespace gleaner
