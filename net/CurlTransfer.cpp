#include "net/CurlTransfer.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "net/InternetClient.h"
#include "net/InternetError.h"
#include "net/SystemProxy.h"

namespace gleaner {

namespace {

// How long one wait for the socket lasts; also how soon an abort is seen.
constexpr int kPollMilliseconds = 50;
// Response heads of a transfer (redirect and 1xx heads included) beyond this
// size fail it: no page needs more, and an endless head must not fill memory.
constexpr std::size_t kMaxHeadBytes = 256 * 1024;

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

bool setsHeader(const std::vector<std::string>& headers, std::string_view name) {
  return std::any_of(headers.begin(), headers.end(), [&](const std::string& header) {
    const std::size_t colon = header.find(':');
    return colon != std::string::npos && equalsNoCase(std::string_view(header).substr(0, colon), name);
  });
}

// "HTTP/1.1 302 Found" gives 302; 0 when the line carries no status code.
int parseStatus(std::string_view statusLine) {
  const std::size_t space = statusLine.find(' ');
  if (space == std::string_view::npos) return 0;
  int status = 0;
  const char* first = statusLine.data() + space + 1;
  const auto [end, error] = std::from_chars(first, statusLine.data() + statusLine.size(), status);
  return error == std::errc() && end - first == 3 ? status : 0;
}

FailureKind kindOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      return FailureKind::Unreachable;
    case CURLE_OPERATION_TIMEDOUT:
      return FailureKind::NoAnswer;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
      return FailureKind::BadAddress;
    default:
      return FailureKind::BrokenOff;
  }
}

std::string describe(const CurlTransfer::Options& options) {
  if (options.requestTarget.empty() || options.url.empty() || options.url.back() != '/') return options.url;
  return options.url.substr(0, options.url.size() - 1) + options.requestTarget;
}

}  // namespace

CurlTransfer::CurlTransfer(const Options& options)
    : address_(describe(options)),
      deadline_(options.deadline),
      abortFlag_(options.abortFlag),
      maxBodyBytes_(options.maxBodyBytes != 0 ? options.maxBodyBytes : InternetClient::limits().maxBodyBytes) {
  InternetClient::initialize();
  easy_ = curl_easy_init();
  multi_ = curl_multi_init();
  try {
    if (easy_ == nullptr || multi_ == nullptr) throw InternetError(address_ + ": cannot create a transfer");
    configure(options);
  } catch (...) {
    release();
    throw;
  }
}

CurlTransfer::~CurlTransfer() { release(); }

void CurlTransfer::release() noexcept {
  if (added_) curl_multi_remove_handle(multi_, easy_);
  added_ = false;
  if (easy_ != nullptr) curl_easy_cleanup(easy_);
  if (multi_ != nullptr) curl_multi_cleanup(multi_);
  easy_ = nullptr;
  multi_ = nullptr;
  curl_slist_free_all(headerList_);
  curl_slist_free_all(connectToList_);
  headerList_ = nullptr;
  connectToList_ = nullptr;
}

template <typename T>
void CurlTransfer::setOption(CURLoption option, T value) {
  const CURLcode code = curl_easy_setopt(easy_, option, value);
  if (code != CURLE_OK) throw InternetError(address_ + ": " + curl_easy_strerror(code));
}

void CurlTransfer::appendTo(curl_slist*& list, const std::string& line) {
  curl_slist* longer = curl_slist_append(list, line.c_str());
  if (longer == nullptr) throw InternetError(address_ + ": out of memory");
  list = longer;
}

void CurlTransfer::configure(const Options& options) {
  setOption(CURLOPT_ERRORBUFFER, errorBuffer_);
  setOption(CURLOPT_URL, options.url.c_str());
  if (!options.requestTarget.empty()) setOption(CURLOPT_REQUEST_TARGET, options.requestTarget.c_str());
  setOption(CURLOPT_NOSIGNAL, 1L);
  setOption(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  setOption(CURLOPT_PROTOCOLS_STR, "http,https");
  setOption(CURLOPT_FOLLOWLOCATION, 0L);
  if (options.direct) {
    setOption(CURLOPT_PROXY, "");
  } else if (const auto proxy = SystemProxy::forAddress(options.url)) {
    setOption(CURLOPT_PROXY, proxy->c_str());  // the system's proxy; "" is a direct connection
  }

  for (const std::string& header : options.headers) appendTo(headerList_, header);
  if (headerList_ != nullptr) setOption(CURLOPT_HTTPHEADER, headerList_);
  if (!options.userAgent.empty() && !setsHeader(options.headers, "User-Agent")) {
    setOption(CURLOPT_USERAGENT, options.userAgent.c_str());
  }

  const ConnectTo connectTo = InternetClient::connectTo();
  for (const std::string& entry : connectTo.entries()) appendTo(connectToList_, entry);
  if (connectToList_ != nullptr) setOption(CURLOPT_CONNECT_TO, connectToList_);

  const InternetClient::Limits limits = InternetClient::limits();
  setOption(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
  stallTimeout_ = limits.stallTimeout;
  totalTimeout_ = limits.totalTimeout;

  setOption(CURLOPT_WRITEFUNCTION, &CurlTransfer::onBody);
  setOption(CURLOPT_WRITEDATA, this);
  setOption(CURLOPT_HEADERFUNCTION, &CurlTransfer::onHeader);
  setOption(CURLOPT_HEADERDATA, this);
  setOption(CURLOPT_XFERINFOFUNCTION, &CurlTransfer::onProgress);
  setOption(CURLOPT_XFERINFODATA, this);
  setOption(CURLOPT_NOPROGRESS, 0L);
}

void CurlTransfer::start() {
  if (added_) return;
  if (aborted()) throw InternetError(address_ + ": transfers are aborted", FailureKind::Aborted);
  const CURLMcode code = curl_multi_add_handle(multi_, easy_);
  if (code != CURLM_OK) throw InternetError(address_ + ": " + curl_multi_strerror(code));
  added_ = true;
  lastActivity_ = std::chrono::steady_clock::now();
  if (!deadline_) deadline_ = lastActivity_ + totalTimeout_;
  while (!headReady()) {
    throwIfFailed();
    step();
  }
  // A body that fails after a whole head fails its reading, not the send.
  if (!finalHeadSeen()) throwIfFailed();
  if (status_ == 0) throw InternetError(address_ + ": no HTTP response", FailureKind::BrokenOff);
}

bool CurlTransfer::finalHeadSeen() const {
  // Libcurl goes on by itself after 1xx.
  return headBlockEnded_ && status_ >= 200;
}

bool CurlTransfer::headReady() const { return done_ || bodyStarted_ || finalHeadSeen(); }

bool CurlTransfer::aborted() const {
  return InternetClient::transfersAborted() || (abortFlag_ != nullptr && abortFlag_->load());
}

void CurlTransfer::step() {
  if (aborted()) {
    done_ = true;
    result_ = CURLE_ABORTED_BY_CALLBACK;
    return;
  }
  progressed_ = false;
  int running = 0;
  CURLMcode code = curl_multi_perform(multi_, &running);
  if (code != CURLM_OK) throw InternetError(address_ + ": " + curl_multi_strerror(code));
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) {
      done_ = true;
      result_ = message->data.result;
    }
  }
  if (done_) return;
  const auto now = std::chrono::steady_clock::now();
  // A server that trickles its head or body a byte at a time never stalls;
  // the deadline ends it all the same.
  if (now >= *deadline_) {
    cutOff(Cut::Deadline);
    return;
  }
  // The stall is measured only after libcurl has taken in what the socket
  // holds, so a slow reader of the body is not taken for a silent server.
  // Bytes inside a header line reach no callback until the line ends: that
  // the socket woke the last wait counts as well.
  const bool active = progressed_ || socketWoke_;
  socketWoke_ = false;
  if (active) {
    lastActivity_ = now;
    return;
  }
  if (now - lastActivity_ >= stallTimeout_) {
    cutOff(Cut::Stalled);
    return;
  }
  const auto untilDeadline = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - now).count() + 1;
  const int wait = static_cast<int>(std::min<long long>(kPollMilliseconds, untilDeadline));
  int woken = 0;
  code = curl_multi_poll(multi_, nullptr, 0, wait, &woken);
  if (code != CURLM_OK) throw InternetError(address_ + ": " + curl_multi_strerror(code));
  socketWoke_ = woken > 0;
}

bool CurlTransfer::headLineTooLong() const {
  // Libcurl holds a header line of at most CURL_MAX_HTTP_HEADER bytes and
  // fails a longer one as out of memory.
  return result_ == CURLE_OUT_OF_MEMORY && !bodyStarted_ && !finalHeadSeen();
}

void CurlTransfer::cutOff(Cut why) {
  done_ = true;
  result_ = CURLE_OPERATION_TIMEDOUT;
  cut_ = why;
}

void CurlTransfer::throwIfFailed() const {
  if (!done_ || result_ == CURLE_OK) return;
  switch (cut_) {
    case Cut::Stalled:
      throw InternetError(address_ + ": nothing received for " + std::to_string(stallTimeout_.count()) + " s",
                          FailureKind::NoAnswer);
    case Cut::Deadline:
      throw InternetError(address_ + ": not done within " + std::to_string(totalTimeout_.count()) + " s",
                          FailureKind::NoAnswer);
    case Cut::BodyTooLarge:
      throw InternetError(address_ + ": body larger than " + std::to_string(maxBodyBytes_) + " bytes",
                          FailureKind::TooLarge);
    case Cut::HeadTooLarge:
      throw InternetError(address_ + ": response head larger than " + std::to_string(kMaxHeadBytes) + " bytes",
                          FailureKind::TooLarge);
    case Cut::OutOfMemory:
      throw InternetError(address_ + ": out of memory", FailureKind::TooLarge);
    case Cut::None:
      break;
  }
  if (headLineTooLong()) {
    throw InternetError(address_ + ": response head line longer than " + std::to_string(CURL_MAX_HTTP_HEADER) +
                            " bytes",
                        FailureKind::TooLarge);
  }
  if (result_ == CURLE_ABORTED_BY_CALLBACK) throw InternetError(address_ + ": transfer aborted", FailureKind::Aborted);
  throw InternetError(address_ + ": " + (errorBuffer_[0] != '\0' ? errorBuffer_ : curl_easy_strerror(result_)),
                      kindOf(result_));
}

std::string CurlTransfer::readRest() {
  start();
  for (;;) {
    throwIfFailed();
    if (done_) break;
    step();
  }
  std::string rest = std::move(body_);
  body_ = std::string();
  return rest;
}

// The callbacks never throw into libcurl: a limit or a failed allocation
// returns a short count, which makes libcurl end the transfer, and the reason
// is reported by throwIfFailed once the transfer is back in our hands.
std::size_t CurlTransfer::onBody(char* data, std::size_t size, std::size_t count, void* self) noexcept {
  auto* transfer = static_cast<CurlTransfer*>(self);
  const std::size_t bytes = size * count;
  transfer->progressed_ = true;
  transfer->bodyBytesReceived_ += bytes;
  if (transfer->bodyBytesReceived_ > transfer->maxBodyBytes_) {
    transfer->cut_ = Cut::BodyTooLarge;
    return 0;
  }
  try {
    if (!transfer->bodyReserved_) {
      // An announced length within the limit is taken at its word, so the
      // buffer does not grow to twice a big page by doubling.
      transfer->bodyReserved_ = true;
      curl_off_t announced = -1;
      if (curl_easy_getinfo(transfer->easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
          announced > 0 && static_cast<std::size_t>(announced) <= transfer->maxBodyBytes_) {
        transfer->body_.reserve(static_cast<std::size_t>(announced));
      }
    }
    transfer->body_.append(data, bytes);
  } catch (...) {
    transfer->cut_ = Cut::OutOfMemory;
    return 0;
  }
  transfer->bodyStarted_ = true;
  return bytes;
}

std::size_t CurlTransfer::onHeader(char* data, std::size_t size, std::size_t count, void* self) noexcept {
  auto* transfer = static_cast<CurlTransfer*>(self);
  const std::size_t bytes = size * count;
  std::string_view line(data, bytes);
  transfer->progressed_ = true;
  transfer->headBytesReceived_ += bytes;
  if (transfer->headBytesReceived_ > kMaxHeadBytes) {
    transfer->cut_ = Cut::HeadTooLarge;
    return 0;
  }
  try {
    // Every response head starts with its status line; only the last one is kept.
    if (line.starts_with("HTTP/")) {
      transfer->rawHeaders_.clear();
      transfer->headBlockEnded_ = false;
      transfer->status_ = parseStatus(line);
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.empty()) transfer->headBlockEnded_ = true;
    transfer->rawHeaders_.append(line);
    transfer->rawHeaders_.append("\r\n");
  } catch (...) {
    transfer->cut_ = Cut::OutOfMemory;
    return 0;
  }
  return bytes;
}

int CurlTransfer::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) noexcept {
  return static_cast<const CurlTransfer*>(self)->aborted() ? 1 : 0;
}

}  // namespace gleaner
