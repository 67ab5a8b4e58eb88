#pragma once
// RAII owners for COM: an interface pointer released once, and a BSTR freed once.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "platform/win32/wide.h"

namespace bootmark::win32 {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  Interface** Put() {
    Reset();
    return &pointer_;
  }
  void Reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }
  // QueryInterface for another interface; empty when the object has none.
  template <typename Other>
  ComPtr<Other> As() const {
    ComPtr<Other> other;
    if (pointer_ != nullptr) {
      pointer_->QueryInterface(__uuidof(Other), reinterpret_cast<void**>(other.Put()));
    }
    return other;
  }

 private:
  Interface* pointer_ = nullptr;
};

class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(std::string_view text) : bstr_(::SysAllocString(Wide(text).c_str())) {}
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { ::SysFreeString(bstr_); }

  BSTR Get() const { return bstr_; }
  BSTR* Put() {
    ::SysFreeString(bstr_);
    bstr_ = nullptr;
    return &bstr_;
  }
  std::string Text() const { return bstr_ == nullptr ? std::string() : Narrow(std::wstring_view(bstr_, ::SysStringLen(bstr_))); }

 private:
  BSTR bstr_ = nullptr;
};

// A string the callee allocated with CoTaskMemAlloc.
class UniqueCoTaskString {
 public:
  UniqueCoTaskString() = default;
  UniqueCoTaskString(const UniqueCoTaskString&) = delete;
  UniqueCoTaskString& operator=(const UniqueCoTaskString&) = delete;
  ~UniqueCoTaskString() { ::CoTaskMemFree(text_); }
  LPWSTR* Put() {
    ::CoTaskMemFree(text_);
    text_ = nullptr;
    return &text_;
  }
  std::string Text() const { return text_ == nullptr ? std::string() : Narrow(std::wstring_view(text_)); }

 private:
  LPWSTR text_ = nullptr;
};

}  // namespace bootmark::win32
