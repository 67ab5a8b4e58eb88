#pragma once
// The queue of new-item texts that later /AddAutoRun starts forward to the running
// alert window. It exists only in the process that owns the alert window.
#include <deque>
#include <optional>
#include <string>

namespace bootmark {

class AlertQueue {
 public:
  void Append(std::string text) { texts_.push_back(std::move(text)); }
  // Removes and returns the oldest text; nullopt when empty.
  std::optional<std::string> TakeHead() {
    if (texts_.empty()) return std::nullopt;
    std::string head = std::move(texts_.front());
    texts_.pop_front();
    return head;
  }
  bool Empty() const { return texts_.empty(); }
  std::size_t Size() const { return texts_.size(); }

 private:
  std::deque<std::string> texts_;
};

}  // namespace bootmark
