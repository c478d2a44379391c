// One HTTP transfer over its own libcurl easy handle, driven through a multi
// handle on the calling thread so that the body is read as it arrives.
// Used by downloadPage, which makes one per hop; libcurl follows nothing.
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace gleaner {

class CurlTransfer {
 public:
  struct Options {
    std::string url;                   // what libcurl resolves and connects to
    std::string requestTarget;         // sent on the request line as it stands; empty: libcurl's own
    std::vector<std::string> headers;  // "Name: value", each replacing libcurl's own of that name
    std::string userAgent;             // sent only when no header sets one
    bool direct = true;                // no proxy at all; false: the system proxy (SystemProxy)
    // The transfer fails when it has not ended by then: connect, head and body
    // together. Unset: the client's total time-out from start().
    std::optional<std::chrono::steady_clock::time_point> deadline;
    // A body longer than this fails the transfer. 0: the client's limit.
    std::size_t maxBodyBytes = 0;
    // While it reads true the transfer fails at once (besides the client-wide
    // abort); null: none.
    const std::atomic<bool>* abortFlag = nullptr;
  };

  explicit CurlTransfer(const Options& options);
  ~CurlTransfer();
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  // Sends the request and waits for the head of the final response. Throws
  // InternetError when it cannot be sent or no response comes.
  void start();

  int statusCode() const { return status_; }
  // Status line and header lines of the final response, each ending in CR LF,
  // then the empty line.
  const std::string& rawHeaders() const { return rawHeaders_; }

  // The body, unchanged, once the transfer has ended. Throws InternetError
  // when the body breaks off, stalls, outgrows its limit, runs past the
  // deadline or is aborted.
  std::string readRest();

 private:
  // Why the transfer was ended from our side; reported after it, never thrown
  // from inside a libcurl callback.
  enum class Cut { None, Stalled, Deadline, BodyTooLarge, HeadTooLarge, OutOfMemory };

  static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self) noexcept;
  static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self) noexcept;
  static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) noexcept;

  void configure(const Options& options);
  template <typename T>
  void setOption(CURLoption option, T value);
  void appendTo(curl_slist*& list, const std::string& line);
  void release() noexcept;

  // One round: let libcurl work, note the end of the transfer, and wait up to
  // a short while for the socket when nothing has changed.
  void step();
  void cutOff(Cut why);
  bool aborted() const;
  void throwIfFailed() const;
  bool finalHeadSeen() const;
  bool headLineTooLong() const;
  bool headReady() const;

  std::string address_;  // names the transfer in error messages
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  const std::atomic<bool>* abortFlag_ = nullptr;
  std::chrono::seconds totalTimeout_{120};
  std::size_t maxBodyBytes_ = 0;
  std::size_t bodyBytesReceived_ = 0;
  std::size_t headBytesReceived_ = 0;
  CURL* easy_ = nullptr;
  CURLM* multi_ = nullptr;
  curl_slist* headerList_ = nullptr;
  curl_slist* connectToList_ = nullptr;
  char errorBuffer_[CURL_ERROR_SIZE] = {};

  bool added_ = false;
  bool done_ = false;
  CURLcode result_ = CURLE_OK;
  bool headBlockEnded_ = false;
  bool bodyStarted_ = false;
  bool bodyReserved_ = false;  // room for an announced length was made
  bool progressed_ = false;  // a callback ran during the last round
  bool socketWoke_ = false;  // the last wait ended on the socket, not on its time-out
  Cut cut_ = Cut::None;
  std::chrono::seconds stallTimeout_{60};
  std::chrono::steady_clock::time_point lastActivity_;
  int status_ = 0;
  std::string rawHeaders_;
  std::string body_;
};

}  // namespace gleaner
