#pragma once
// The answer of a port operation that fails with a reason: its value, or the
// Win32 error code that says why it failed. Yes/no answers are plain bool and
// answers that may be absent are std::optional; Result is for the rest.
#include <cstdint>
#include <optional>
#include <utility>

namespace bootmark {

// A failure and its system error code (ERROR_ACCESS_DENIED...; never 0).
struct SystemError {
  std::uint32_t code = 0;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(SystemError failure) : error_(failure.code) {}

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  // The error code of a failure; 0 when the operation succeeded.
  std::uint32_t error() const { return error_; }

  // The value; only when ok().
  T& value() & { return *value_; }
  const T& value() const& { return *value_; }
  T&& value() && { return std::move(*value_); }
  T& operator*() & { return *value_; }
  const T& operator*() const& { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // The value, or `fallback` after a failure.
  T value_or(T fallback) const& { return value_ ? *value_ : std::move(fallback); }
  T value_or(T fallback) && { return value_ ? std::move(*value_) : std::move(fallback); }

 private:
  std::optional<T> value_;
  std::uint32_t error_ = 0;
};

// An operation that answers nothing but whether it worked, and why not.
template <>
class Result<void> {
 public:
  Result() = default;
  Result(SystemError failure) : error_(failure.code) {}

  bool ok() const { return error_ == 0; }
  explicit operator bool() const { return ok(); }
  std::uint32_t error() const { return error_; }

 private:
  std::uint32_t error_ = 0;
};

}  // namespace bootmark
