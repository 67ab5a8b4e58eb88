#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bootmark {

// The network transport: one synchronous HTTP request at a time, on whatever
// thread calls it.
class IHttpClient {
 public:
  virtual ~IHttpClient() = default;

  // POSTs `body` (bytes as they are sent) to `url` ("http://" or "https://", the
  // latter with the server's certificate verified) with the client's default
  // headers: content type "application/x-www-form-urlencoded", agent
  // "Mozilla/4.0". Waits for the whole answer, with no time limit beyond the
  // system's own connect and receive time-outs. Gives the answer's body bytes, or
  // nullopt when the request failed, the server answered with a status outside
  // 200-299, or the body grew beyond `maxResponseBytes` (an answer that large is
  // not one the program asked for, and is not kept).
  virtual std::optional<std::string> Post(std::string_view url, std::string_view body,
                                          std::size_t maxResponseBytes) = 0;
};

}  // namespace bootmark
