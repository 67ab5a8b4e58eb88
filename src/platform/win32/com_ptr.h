#pragma once
// RAII owners for COM: an interface pointer released once, the strings and memory
// COM hands out, and COM itself for one scope of a thread.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "platform/win32/unique_resource.h"
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

namespace closers {
inline void Bstr(BSTR text) { ::SysFreeString(text); }
template <typename T>
void CoTaskMemory(T memory) {
  ::CoTaskMemFree(memory);
}
}  // namespace closers

// A BSTR, freed with SysFreeString.
using UniqueBstr = UniqueResource<BSTR, closers::Bstr>;
// Memory a COM callee allocated with CoTaskMemAlloc (strings, arrays).
template <typename T>
using UniqueCoTaskMemory = UniqueResource<T, closers::CoTaskMemory<T>>;
using UniqueCoTaskString = UniqueCoTaskMemory<LPWSTR>;

inline UniqueBstr MakeBstr(std::string_view text) { return UniqueBstr(::SysAllocString(Wide(text).c_str())); }

// The text of a BSTR or of a wide string; empty for none.
inline std::string TextOf(const UniqueBstr& text) {
  return text ? Narrow(std::wstring_view(text.Get(), ::SysStringLen(text.Get()))) : std::string();
}
inline std::string TextOf(const UniqueCoTaskString& text) {
  return text ? Narrow(std::wstring_view(text.Get())) : std::string();
}

// COM for the calling thread for one scope, in a single-threaded apartment. A
// thread that has COM already, in either apartment kind, keeps it as it is: only
// a successful call is undone.
class ComForThread {
 public:
  ComForThread() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComForThread(const ComForThread&) = delete;
  ComForThread& operator=(const ComForThread&) = delete;
  ~ComForThread() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }

 private:
  HRESULT result_;
};

}  // namespace bootmark::win32
