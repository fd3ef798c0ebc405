// A tiny HTTP server on 127.0.0.1 for the update tests: a free port, one
// thread accepting and one per connection, stopped (and joined) by its owner.
// Paths choose the behaviour:
//   /updates/updateinfo.ini  200 with the current body and its length
//   /nolength                200 with the body, ended by closing, no length
//   /missing, /error         404 and 500 with an HTML error page
//   /short                   200 announcing 200 bytes, sending 20, closing
//   /silent                  reads the request and never answers
//   /trickle                 200 announcing 1000 bytes, one every 200 ms
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace corvane::testing {

class ShellHttpServer {
 public:
  ShellHttpServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(m_listener, 16);
    int length = sizeof address;
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { AcceptLoop(); });
  }
  ~ShellHttpServer() {
    Stop();
    WSACleanup();
  }
  ShellHttpServer(const ShellHttpServer&) = delete;
  ShellHttpServer& operator=(const ShellHttpServer&) = delete;

  int Port() const { return m_port; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
  }
  void SetBody(std::string body) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_body = std::move(body);
  }
  int Requests() const { return m_requests; }

  // Ends every connection, waiting ones included, and joins all threads.
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (m_stopping) return;
      m_stopping = true;
    }
    m_stopSignal.notify_all();
    if (m_acceptor.joinable()) m_acceptor.join();
    closesocket(m_listener);
    std::vector<std::thread> workers;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      workers.swap(m_workers);
    }
    for (std::thread& worker : workers) worker.join();
  }

  // A port on which nothing listens: bound once, then closed again.
  static int ClosedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(s);
    WSACleanup();
    return ntohs(address.sin_port);
  }

 private:
  bool Stopping() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stopping;
  }
  // Sleeps up to duration; True when the server is stopping.
  bool WaitForStop(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_stopSignal.wait_for(lock, duration, [this] { return m_stopping; });
  }

  void AcceptLoop() {
    while (!Stopping()) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(m_listener, &readable);
      timeval tick{0, 100000};
      if (select(0, &readable, nullptr, nullptr, &tick) <= 0) continue;
      SOCKET client = accept(m_listener, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      std::lock_guard<std::mutex> lock(m_mutex);
      m_workers.emplace_back([this, client] {
        Serve(client);
        closesocket(client);
      });
    }
  }

  // The request line's path, after reading the whole header (bounded).
  std::string ReadRequestPath(SOCKET client) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 && !Stopping()) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(client, &readable);
      timeval tick{0, 100000};
      if (select(0, &readable, nullptr, nullptr, &tick) <= 0) continue;
      int got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      request.append(buffer, static_cast<size_t>(got));
    }
    size_t start = request.find(' ');
    size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
    if (end == std::string::npos) return {};
    return request.substr(start + 1, end - start - 1);
  }

  static void SendAll(SOCKET client, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      int n = send(client, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
      if (n <= 0) return;
      sent += static_cast<size_t>(n);
    }
  }

  static std::string Response(int status, const char* reason, const std::string& body,
                              bool withLength = true) {
    std::string head =
        "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Type: text/plain\r\n";
    if (withLength) head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return head + "Connection: close\r\n\r\n" + body;
  }

  void Serve(SOCKET client) {
    std::string path = ReadRequestPath(client);
    ++m_requests;
    std::string body;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      body = m_body;
    }
    const std::string page = "<html><body>No such page</body></html>";
    if (path == "/updates/updateinfo.ini") {
      SendAll(client, Response(200, "OK", body));
    } else if (path == "/nolength") {
      SendAll(client, Response(200, "OK", body, false));
    } else if (path == "/missing") {
      SendAll(client, Response(404, "Not Found", page));
    } else if (path == "/error") {
      SendAll(client, Response(500, "Internal Server Error", page));
    } else if (path == "/short") {
      SendAll(client,
              "HTTP/1.1 200 OK\r\nContent-Length: 200\r\nConnection: "
              "close\r\n\r\n[Updates]\r\ncorvane=99");
    } else if (path == "/silent") {
      WaitForStop(std::chrono::minutes(5));
    } else if (path == "/trickle") {
      SendAll(client, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n");
      for (int i = 0; i < 1000 && !WaitForStop(std::chrono::milliseconds(200)); ++i)
        SendAll(client, "x");
    } else {
      SendAll(client, Response(404, "Not Found", page));
    }
    shutdown(client, SD_SEND);
  }

  SOCKET m_listener = INVALID_SOCKET;
  int m_port = 0;
  std::thread m_acceptor;
  std::mutex m_mutex;
  std::condition_variable m_stopSignal;
  bool m_stopping = false;
  std::vector<std::thread> m_workers;
  std::string m_body;
  std::atomic<int> m_requests{0};
};

}  // namespace corvane::testing
