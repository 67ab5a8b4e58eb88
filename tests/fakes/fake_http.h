#pragma once
// The network transport, answering from the test: requests are recorded, and the
// answer is the fixed `response` or whatever `answer` gives. Called from the
// look-up's worker thread, so every member is guarded.
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

  std::optional<std::string> Post(std::string_view url, std::string_view body,
                                  std::size_t maxResponseBytes) override {
    std::lock_guard lock(mutex_);
    requests_.push_back({std::string(url), std::string(body), maxResponseBytes});
    std::optional<std::string> reply = answer ? answer(body) : response;
    if (reply && reply->size() > maxResponseBytes) return std::nullopt;
    return reply;
  }

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
};

}  // namespace bootmark::testing
