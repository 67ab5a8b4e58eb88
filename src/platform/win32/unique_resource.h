#pragma once
// The one owner of a Windows resource: a handle, key, buffer or object that the
// system hands out and that one matching call gives back. Every kind of resource
// is an alias of UniqueResource with its closing function; nothing else calls
// those functions.
#include <utility>

namespace bootmark::win32 {

// The "no resource" value of most APIs: NULL.
template <typename T>
constexpr T NullResource() {
  return T{};
}

// Owns one `T`. `Close` gives it back to the system; `Invalid` is the value that
// means "none" for the API that produced it (NULL, or INVALID_HANDLE_VALUE for
// files and searches). Moves hand the resource on; the last owner closes it.
template <typename T, void (*Close)(T), T (*Invalid)() = NullResource<T>>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T value) : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.Detach()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  ~UniqueResource() { Reset(); }

  T Get() const { return value_; }
  bool Valid() const { return value_ != Invalid(); }
  explicit operator bool() const { return Valid(); }
  // For out-parameters: closes what is held and hands out the slot.
  T* Put() {
    Reset();
    return &value_;
  }
  // Gives the resource up without closing it.
  T Detach() { return std::exchange(value_, Invalid()); }
  void Reset(T value = Invalid()) {
    if (Valid()) Close(value_);
    value_ = value;
  }

 private:
  T value_ = Invalid();
};

}  // namespace bootmark::win32
