#include "sample-site/RawTargetServer.h"

#include <string_view>

#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace gleaner::sample {

namespace {

thread_local std::string rawTarget;

constexpr long kTimeoutSeconds = 5;

#ifdef _WIN32
using IoSize = int;
constexpr int kSendFlags = 0;
void closeSocket(socket_t sock) {
  shutdown(sock, SD_BOTH);
  closesocket(sock);
}
#else
using IoSize = std::size_t;
constexpr int kSendFlags = MSG_NOSIGNAL;
void closeSocket(socket_t sock) {
  shutdown(sock, SHUT_RDWR);
  close(sock);
}
#endif

bool waitFor(socket_t sock, bool forReading) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(sock, &set);
  timeval timeout{};
  timeout.tv_sec = kTimeoutSeconds;
  return select(static_cast<int>(sock + 1), forReading ? &set : nullptr, forReading ? nullptr : &set, nullptr,
                &timeout) > 0;
}

// "GET /path?query#fragment HTTP/1.1" gives "/path?query#fragment".
std::string targetOf(std::string_view requestLine) {
  const std::size_t first = requestLine.find(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t second = requestLine.find(' ', first + 1);
  if (second == std::string_view::npos) return {};
  return std::string(requestLine.substr(first + 1, second - first - 1));
}

// A plain socket stream that keeps the first line it reads.
class RecordingStream : public httplib::Stream {
 public:
  explicit RecordingStream(socket_t sock) : sock_(sock) {}

  bool is_readable() const override { return waitFor(sock_, true); }
  bool is_writable() const override { return waitFor(sock_, false); }

  ssize_t read(char* ptr, size_t size) override {
    if (!is_readable()) return -1;
    const auto n = recv(sock_, ptr, static_cast<IoSize>(size), 0);
    if (n > 0 && !lineDone_) {
      const std::string_view got(ptr, static_cast<std::size_t>(n));
      const std::size_t end = got.find('\n');
      firstLine_.append(got.substr(0, end));
      if (end != std::string_view::npos) {
        lineDone_ = true;
        rawTarget = targetOf(firstLine_);
      }
    }
    return n;
  }

  ssize_t write(const char* ptr, size_t size) override {
    if (!is_writable()) return -1;
    return send(sock_, ptr, static_cast<IoSize>(size), kSendFlags);
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override { address(true, ip, port); }
  void get_local_ip_and_port(std::string& ip, int& port) const override { address(false, ip, port); }
  socket_t socket() const override { return sock_; }

 private:
  void address(bool remote, std::string& ip, int& port) const {
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    auto* addr = reinterpret_cast<sockaddr*>(&storage);
    if ((remote ? getpeername(sock_, addr, &length) : getsockname(sock_, addr, &length)) != 0) return;
    char text[64] = {};
    if (storage.ss_family == AF_INET) {
      const auto* in = reinterpret_cast<sockaddr_in*>(&storage);
      inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
      port = ntohs(in->sin_port);
    } else if (storage.ss_family == AF_INET6) {
      const auto* in6 = reinterpret_cast<sockaddr_in6*>(&storage);
      inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
      port = ntohs(in6->sin6_port);
    }
    ip = text;
  }

  socket_t sock_;
  std::string firstLine_;
  bool lineDone_ = false;
};

}  // namespace

const std::string& RawTargetServer::currentRawTarget() { return rawTarget; }

bool RawTargetServer::process_and_close_socket(socket_t sock) {
  rawTarget.clear();
  bool ok = false;
  {
    RecordingStream stream(sock);
    bool closed = false;
    ok = process_request(stream, true, closed, [](httplib::Request&) {});
  }
  closeSocket(sock);
  return ok;
}

}  // namespace gleaner::sample
