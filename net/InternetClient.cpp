#include "net/InternetClient.h"

#include <curl/curl.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>

#include "net/InternetError.h"

namespace gleaner {

namespace {

std::once_flag initOnce;

std::mutex connectToMutex;
ConnectTo connectToMap;

std::atomic<long long> connectTimeoutMs{InternetClient::Limits{}.connectTimeout.count()};
std::atomic<long long> stallTimeoutS{InternetClient::Limits{}.stallTimeout.count()};
std::atomic<long long> totalTimeoutS{InternetClient::Limits{}.totalTimeout.count()};
std::atomic<std::size_t> maxBodyBytes{InternetClient::Limits{}.maxBodyBytes};
std::atomic<bool> aborted{false};

void initializeOnce() {
  const CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (code != CURLE_OK) throw InternetError(std::string("cannot set up libcurl: ") + curl_easy_strerror(code));
  const char* list = std::getenv("GLEANER_CONNECT_TO");
  ConnectTo map;
  if (list != nullptr) {
    try {
      map = ConnectTo::parse(list);
    } catch (const InternetError& error) {
      curl_global_cleanup();  // balances the init above: the next call starts afresh
      throw ConnectToError(std::string("GLEANER_CONNECT_TO: ") + error.what());
    }
  }
  std::lock_guard lock(connectToMutex);
  connectToMap = std::move(map);
}

}  // namespace

void InternetClient::initialize() { std::call_once(initOnce, initializeOnce); }

void InternetClient::setConnectTo(ConnectTo map) {
  initialize();
  std::lock_guard lock(connectToMutex);
  connectToMap = std::move(map);
}

ConnectTo InternetClient::connectTo() {
  std::lock_guard lock(connectToMutex);
  return connectToMap;
}

void InternetClient::setLimits(const Limits& limits) {
  connectTimeoutMs = limits.connectTimeout.count();
  stallTimeoutS = limits.stallTimeout.count();
  totalTimeoutS = limits.totalTimeout.count();
  maxBodyBytes = limits.maxBodyBytes;
}

InternetClient::Limits InternetClient::limits() {
  return Limits{std::chrono::milliseconds(connectTimeoutMs.load()), std::chrono::seconds(stallTimeoutS.load()),
                std::chrono::seconds(totalTimeoutS.load()), maxBodyBytes.load()};
}

void InternetClient::abortAllTransfers(bool on) { aborted = on; }

bool InternetClient::transfersAborted() { return aborted; }

}  // namespace gleaner
