// A bare TCP server on a loopback port that hands each connection to a
// handler and records the exact bytes of every request head, where an HTTP
// server library would normalise them. Connections are served one after the
// other on the server's own thread.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace gleaner::testing {

// The few socket calls that differ between POSIX and Winsock.
namespace rawsocket {
#ifdef _WIN32
using Handle = SOCKET;
inline bool valid(Handle s) { return s != INVALID_SOCKET; }
inline void close(Handle s) { ::closesocket(s); }
inline int poll(pollfd* entries, unsigned count, int ms) { return ::WSAPoll(entries, count, ms); }
constexpr int kNoSignal = 0;
// Winsock must be started once per user; the count is kept by the system.
inline void start() {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
}
#else
using Handle = int;
inline bool valid(Handle s) { return s >= 0; }
inline void close(Handle s) { ::close(s); }
inline int poll(pollfd* entries, unsigned count, int ms) { return ::poll(entries, count, ms); }
constexpr int kNoSignal = MSG_NOSIGNAL;
inline void start() {}
#endif
}  // namespace rawsocket

class RawServer {
 public:
  class Connection {
   public:
    Connection(RawServer& server, rawsocket::Handle fd) : server_(server), fd_(fd) {}

    // Reads up to the empty line that ends a request head and records it.
    // Empty when the peer closes first or the server stops.
    std::string readHead() {
      std::string head;
      while (head.find("\r\n\r\n") == std::string::npos) {
        if (!waitReadable()) return {};
        char buffer[4096];
        const int got = static_cast<int>(::recv(fd_, buffer, sizeof buffer, 0));
        if (got <= 0) return {};
        head.append(buffer, static_cast<std::size_t>(got));
      }
      std::lock_guard lock(server_.mutex_);
      server_.heads_.push_back(head);
      return head;
    }

    // False once the peer has gone (or the server stops), so a handler that
    // sends without end knows when to give up.
    bool send(std::string_view bytes) {
      while (!bytes.empty()) {
        if (server_.stopping_) return false;
        pollfd entry{fd_, POLLOUT, 0};
        if (rawsocket::poll(&entry, 1, 20) <= 0) continue;
        const int sent =
            static_cast<int>(::send(fd_, bytes.data(), static_cast<int>(bytes.size()), rawsocket::kNoSignal));
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
      }
      return true;
    }

    // Sends bytes one piece at a time with a pause after each, until all are
    // sent, the peer goes or the server stops. False when cut short.
    bool trickle(std::string_view bytes, std::size_t piece, std::chrono::milliseconds pause) {
      while (!bytes.empty()) {
        const std::size_t n = std::min(piece, bytes.size());
        if (!send(bytes.substr(0, n))) return false;
        bytes.remove_prefix(n);
        if (!sleepUnlessStopping(pause)) return false;
      }
      return true;
    }

    bool sleepUnlessStopping(std::chrono::milliseconds pause) {
      const auto end = std::chrono::steady_clock::now() + pause;
      while (std::chrono::steady_clock::now() < end) {
        if (server_.stopping_) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      return true;
    }

    // Keeps the connection open without a word until the peer closes it or
    // the server stops.
    void holdOpen() {
      char buffer[256];
      while (waitReadable() && ::recv(fd_, buffer, sizeof buffer, 0) > 0) {
      }
    }

   private:
    bool waitReadable() {
      while (!server_.stopping_) {
        pollfd entry{fd_, POLLIN, 0};
        if (rawsocket::poll(&entry, 1, 20) > 0) return true;
      }
      return false;
    }

    RawServer& server_;
    rawsocket::Handle fd_;
  };

  using Handler = std::function<void(Connection&)>;

  explicit RawServer(Handler handler) : handler_(std::move(handler)) {
    rawsocket::start();
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (!rawsocket::valid(listenFd_)) throw std::runtime_error("cannot open a socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
#ifdef _WIN32
    int length = sizeof address;
#else
    socklen_t length = sizeof address;
#endif
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listenFd_, 16) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      rawsocket::close(listenFd_);
      throw std::runtime_error("cannot listen on a loopback port");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }

  ~RawServer() {
    stopping_ = true;
    thread_.join();
    rawsocket::close(listenFd_);
  }
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int port() const { return port_; }
  std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string url(const std::string& path) const { return "http://" + hostPort() + path; }

  std::vector<std::string> heads() const {
    std::lock_guard lock(mutex_);
    return heads_;
  }
  int connections() const { return connections_; }

 private:
  void serve() {
    while (!stopping_) {
      pollfd entry{listenFd_, POLLIN, 0};
      if (rawsocket::poll(&entry, 1, 20) <= 0) continue;
      const rawsocket::Handle fd = ::accept(listenFd_, nullptr, nullptr);
      if (!rawsocket::valid(fd)) continue;
      ++connections_;
      Connection connection(*this, fd);
      handler_(connection);
      rawsocket::close(fd);
    }
  }

  Handler handler_;
  rawsocket::Handle listenFd_{};
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> heads_;
};

// A handler that reads the request and answers with the given bytes, then
// closes the connection.
inline RawServer::Handler answerWith(std::string response) {
  return [response = std::move(response)](RawServer::Connection& connection) {
    if (!connection.readHead().empty()) connection.send(response);
  };
}

// Hostile servers: each reads the request, then misbehaves until the client
// gives up or the server stops.

// A 200 head, then the body a few bytes at a time, never stalling for long.
inline RawServer::Handler trickledBody(std::chrono::milliseconds pause = std::chrono::milliseconds(100)) {
  return [pause](RawServer::Connection& connection) {
    if (connection.readHead().empty()) return;
    if (!connection.send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n")) return;
    while (connection.trickle("<p>x</p>\n", 3, pause)) {
    }
  };
}

// The head's header lines one by one, without end.
inline RawServer::Handler trickledHead(std::chrono::milliseconds pause = std::chrono::milliseconds(100)) {
  return [pause](RawServer::Connection& connection) {
    if (connection.readHead().empty() || !connection.send("HTTP/1.1 200 OK\r\n")) return;
    for (int i = 0; connection.send("X-Line-" + std::to_string(i) + ": x\r\n"); ++i) {
      if (!connection.sleepUnlessStopping(pause)) return;
    }
  };
}

// A head whose one header line never ends, a byte at a time.
inline RawServer::Handler trickledHeadLine(std::chrono::milliseconds pause = std::chrono::milliseconds(100)) {
  return [pause](RawServer::Connection& connection) {
    if (connection.readHead().empty() || !connection.send("HTTP/1.1 200 OK\r\nX-Slow: ")) return;
    while (connection.send("y") && connection.sleepUnlessStopping(pause)) {
    }
  };
}

// A 200 head, then body lines as fast as the client takes them, without end.
inline RawServer::Handler endlessBody() {
  return [](RawServer::Connection& connection) {
    if (connection.readHead().empty()) return;
    if (!connection.send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n")) return;
    const std::string chunk(64 * 1024 - 1, 'x');
    while (connection.send(chunk + "\n")) {
    }
  };
}

// One header line as fast as the client takes it, without end.
inline RawServer::Handler endlessHeadLine() {
  return [](RawServer::Connection& connection) {
    if (connection.readHead().empty() || !connection.send("HTTP/1.1 200 OK\r\nX-Filler: ")) return;
    const std::string chunk(64 * 1024, 'y');
    while (connection.send(chunk)) {
    }
  };
}

// Header lines as fast as the client takes them, without end.
inline RawServer::Handler endlessHead() {
  return [](RawServer::Connection& connection) {
    if (connection.readHead().empty() || !connection.send("HTTP/1.1 200 OK\r\n")) return;
    const std::string line = "X-Filler: " + std::string(1000, 'y') + "\r\n";
    while (connection.send(line)) {
    }
  };
}

}  // namespace gleaner::testing
