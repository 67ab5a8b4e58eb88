// The HTTP port over WinHTTP against a one-request server on a local socket: what
// is sent, which answers count, and the bound on an answer's size.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

#include "platform/win32/win32_http.h"

namespace bootmark::win32 {
namespace {

// Accepts one connection on 127.0.0.1, reads one request (headers and a body of
// Content-Length bytes), sends `response` as it stands and closes.
class OneRequestServer {
 public:
  explicit OneRequestServer(std::string response) : response_(std::move(response)) {
    WSADATA data{};
    started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listener_, 1) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }

  ~OneRequestServer() {
    ::closesocket(listener_);
    if (thread_.joinable()) thread_.join();
    if (started_) ::WSACleanup();
  }

  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  bool Listening() const { return port_ != 0; }
  // The request as received; read after the client has its answer.
  std::string Request() {
    if (thread_.joinable()) thread_.join();
    return request_;
  }

 private:
  void Serve() {
    const SOCKET client = ::accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    char buffer[4096];
    std::size_t expected = std::string::npos;
    while (expected == std::string::npos || request_.size() < expected) {
      const int got = ::recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      request_.append(buffer, static_cast<std::size_t>(got));
      const std::size_t headersEnd = request_.find("\r\n\r\n");
      if (expected == std::string::npos && headersEnd != std::string::npos) {
        const std::size_t field = request_.find("Content-Length: ");
        const std::size_t bodyLength = field < headersEnd ? std::stoul(request_.substr(field + 16)) : 0;
        expected = headersEnd + 4 + bodyLength;
      }
    }
    ::send(client, response_.data(), static_cast<int>(response_.size()), 0);
    ::shutdown(client, SD_SEND);
    ::closesocket(client);
  }

  std::string response_;
  std::string request_;
  bool started_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned port_ = 0;
  std::thread thread_;
};

std::string Response(const std::string& status, const std::string& body) {
  return "HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

TEST(Win32Http, PostsTheBodyBytesWithTheDefaultHeaders) {
  OneRequestServer server(Response("200 OK", "{\"prop\":\"caf\xE9\"}"));
  ASSERT_TRUE(server.Listening());
  Win32HttpClient http;
  const std::string body = "[{\"id\":\"\xE9t\xE9\"}]";

  const auto answer = http.Post(server.Url("/proportion.php?v=1"), body, 1024, nullptr);

  ASSERT_TRUE(answer);
  EXPECT_EQ(*answer, "{\"prop\":\"caf\xE9\"}");
  const std::string request = server.Request();
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "POST /proportion.php?v=1 HTTP/1.1");
  EXPECT_NE(request.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"), std::string::npos) << request;
  EXPECT_NE(request.find("\r\nUser-Agent: Mozilla/4.0\r\n"), std::string::npos) << request;
  EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4), body);
}

TEST(Win32Http, OnlySuccessfulAnswersWithinTheBoundCount) {
  const std::string body64(64, 'x');
  const struct {
    const char* name;
    std::string response;
    std::size_t maxBytes;
    std::optional<std::string> answer;
  } cases[] = {
      {"ok", Response("200 OK", body64), 64, body64},
      {"created", Response("201 Created", "made"), 64, std::string("made")},
      {"empty", Response("200 OK", ""), 64, std::string()},
      {"one byte too many", Response("200 OK", body64 + "y"), 64, std::nullopt},
      {"not found", Response("404 Not Found", "missing"), 64, std::nullopt},
      {"server error", Response("500 Internal Server Error", "{}"), 64, std::nullopt},
      {"not HTTP", "garbage without a status line\r\n\r\n", 64, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OneRequestServer server(c.response);
    ASSERT_TRUE(server.Listening());
    Win32HttpClient http;
    EXPECT_EQ(http.Post(server.Url("/proportion.php"), "[]", c.maxBytes, nullptr), c.answer);
  }
}

TEST(Win32Http, AddressesItCannotUseFail) {
  // A port on which nothing listens any more.
  std::string closed;
  {
    OneRequestServer gone("");
    closed = gone.Url("/proportion.php");
  }
  Win32HttpClient http;
  for (const std::string& url : {closed, std::string("ftp://127.0.0.1/proportion.php"), std::string("proportion.php"),
                                 std::string()}) {
    EXPECT_FALSE(http.Post(url, "[]", 64, nullptr)) << url;
  }
}

}  // namespace
}  // namespace bootmark::win32
