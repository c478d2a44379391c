// What all transfers of the process share: the one-time set-up of libcurl,
// the connect-to map, the time limits and the switch that aborts every
// transfer at shutdown.
#pragma once

#include <chrono>
#include <cstddef>

#include "net/ConnectTo.h"

namespace gleaner {

class InternetClient {
 public:
  struct Limits {
    // Longest wait for a connection to be made.
    std::chrono::milliseconds connectTimeout{30000};
    // A transfer that receives no byte for this long, counted from its start
    // and from every byte received, fails.
    std::chrono::seconds stallTimeout{60};
    // A download (connect, head and body together, redirects included) that
    // has not ended after this long fails, however steadily bytes trickle in.
    std::chrono::seconds totalTimeout{120};
    // A body longer than this fails its download; real result pages are
    // 100-400 KB. Rule files have a far smaller limit of their own.
    std::size_t maxBodyBytes = 16 * 1024 * 1024;
  };

  // Sets up libcurl and reads GLEANER_CONNECT_TO. Programs call it first from
  // main, before any thread starts; later calls do nothing. A transfer that
  // finds it not yet done does it itself. Throws InternetError when libcurl
  // cannot be set up or GLEANER_CONNECT_TO is malformed (the message names the
  // entry); a later call tries again.
  static void initialize();

  // Replaces the connect-to map for every later request (the tests' way to
  // install one without the environment).
  static void setConnectTo(ConnectTo map);
  static ConnectTo connectTo();

  static void setLimits(const Limits& limits);
  static Limits limits();

  // While on, every transfer in progress or started fails at once with
  // InternetError, so that closing the window need not wait for a slow server.
  static void abortAllTransfers(bool on);
  static bool transfersAborted();
};

}  // namespace gleaner
