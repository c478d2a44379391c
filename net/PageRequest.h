// One download as values: the address, how the request goes out (agent,
// access, headers, request line) and what bounds it. The collection's result
// pages and every whole-address download (item pages, offer and rating
// pages, rule files) are the two kinds the tool sends; each keeps exactly
// the requests it has always sent.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

namespace gleaner {

enum class AccessType {
  Direct,         // no proxy at all, whatever the environment says
  Preconfigured,  // the system proxy: Internet Options on Windows, http_proxy and friends elsewhere
};

struct PageRequest {
  // What goes on the request line: the address's path, query and fragment
  // exactly as they stand (only http addresses), or what the client makes of
  // the whole address (http or https; the fragment stays behind).
  enum class RequestLine { AsItStands, WholeAddress };

  std::string address;
  RequestLine requestLine = RequestLine::WholeAddress;
  // The agent name; empty: the application's name. A User-Agent header
  // below takes its place.
  std::string agent;
  AccessType access = AccessType::Preconfigured;
  // "Name: value" headers, each replacing the client's own of that name.
  std::vector<std::string> headers;
  // Only this status counts as the page; 0: any status does (the caller
  // looks at it).
  int requiredStatus = 0;
  // A body longer than this fails the download; 0: the client's limit.
  std::size_t maxBodyBytes = 0;
  // While *abortFlag is true the download fails at once (a run's stop); null:
  // only the client-wide abort.
  const std::atomic<bool>* abortFlag = nullptr;

  // A result page of the collection: sent as it stands with the fixed
  // headers, directly, agent "Microsoft MFC APP", status 200 only.
  static PageRequest resultPage(std::string address);
  // A whole address opened in one call, through the system's proxy, under
  // the application's name, whatever the status.
  static PageRequest wholeAddress(std::string address);
};

}  // namespace gleaner
