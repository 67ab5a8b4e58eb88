#pragma once
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace bootmark {

// Lets another thread end a request that is under way: the transport attaches
// what closes its request while it runs, and Cancel (from any thread) closes it
// at once, or makes a request that has not started yet fail at its start.
class HttpRequestControl {
 public:
  void Cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (close_) std::exchange(close_, nullptr)();
  }
  bool Cancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
  }
  // For the transport. False (and `close` is not kept) when already cancelled.
  bool Attach(std::function<void()> close) {
    std::lock_guard lock(mutex_);
    if (cancelled_) return false;
    close_ = std::move(close);
    return true;
  }
  // For the transport, when the request ends: true when the transport still owns
  // what it attached and has to close it; false when Cancel closed it already.
  bool Detach() {
    std::lock_guard lock(mutex_);
    const bool owned = static_cast<bool>(close_);
    close_ = nullptr;
    return owned;
  }

 private:
  mutable std::mutex mutex_;
  bool cancelled_ = false;
  std::function<void()> close_;
};

// The network transport: one synchronous HTTP request at a time, on whatever
// thread calls it.
class IHttpClient {
 public:
  virtual ~IHttpClient() = default;

  // POSTs `body` (bytes as they are sent) to `url` ("http://" or "https://", the
  // latter over TLS 1.2 or newer with the server's certificate verified) with the
  // client's default headers: content type "application/x-www-form-urlencoded",
  // agent "Mozilla/4.0". Waits for the whole answer within the system's resolve,
  // connect and per-receive time-outs; `control`, when given, lets another thread
  // end the wait (the request then fails). Gives the answer's body bytes, or
  // nullopt when the request failed, the server answered with a status outside
  // 200-299, or the body grew beyond `maxResponseBytes` (an answer that large is
  // not one the program asked for, and is not kept).
  virtual std::optional<std::string> Post(std::string_view url, std::string_view body,
                                          std::size_t maxResponseBytes, HttpRequestControl* control) = 0;
};

}  // namespace bootmark
