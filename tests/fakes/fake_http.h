#pragma once
// The network transport, answering from the test: requests are recorded, and the
// answer is the fixed `response` or whatever `answer` gives. Called from the
// look-up's worker thread, so every member is guarded.
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/http.h"

namespace bootmark::testing {

class FakeHttpClient : public IHttpClient {
 public:
  struct Request {
    std::string url, body;
    std::size_t maxResponseBytes;
  };

  // A request whose control is cancelled fails at once; `answer` may wait for
  // Cancelled() to see the waiting thread end it.
  std::optional<std::string> Post(std::string_view url, std::string_view body, std::size_t maxResponseBytes,
                                  HttpRequestControl* control) override {
    {
      std::lock_guard lock(mutex_);
      requests_.push_back({std::string(url), std::string(body), maxResponseBytes});
    }
    if (control != nullptr && !control->Attach([this] { cancelled_ = true; })) return std::nullopt;
    std::optional<std::string> reply = answer ? answer(body) : response;
    if (control != nullptr) control->Detach();
    if (cancelled_) return std::nullopt;
    if (reply && reply->size() > maxResponseBytes) return std::nullopt;
    return reply;
  }

  bool Cancelled() const { return cancelled_; }

  std::vector<Request> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  // Set before the look-up starts.
  std::optional<std::string> response;
  std::function<std::optional<std::string>(std::string_view body)> answer;

 private:
  mutable std::mutex mutex_;
  std::vector<Request> requests_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace bootmark::testing
