#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

HKEY RootHandle(RegistryRoot root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(root))));
}

// The view flags added to the access mask. The program is 32-bit: its default
// view is the 32-bit registry, which a 64-bit build must ask for.
REGSAM ViewFlags(RegistryView view) {
  switch (view) {
    case RegistryView::Registry64:
      return KEY_WOW64_64KEY;
    case RegistryView::Registry32:
      return KEY_WOW64_32KEY;
    case RegistryView::Default:
      break;
  }
  return sizeof(void*) == 8 ? KEY_WOW64_32KEY : 0;
}

class Win32RegistryKey : public IRegistryKey {
 public:
  explicit Win32RegistryKey(UniqueRegKey key) : key_(std::move(key)) {}

  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    std::vector<wchar_t> name(256);  // key names are at most 255 characters
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(name.size());
      const LONG result = ::RegEnumKeyExW(key_.Get(), index, name.data(), &length, nullptr, nullptr, nullptr,
                                          nullptr);
      if (result != ERROR_SUCCESS) break;
      names.push_back(Narrow(name.data(), length));
    }
    return names;
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    std::vector<wchar_t> name(16384);  // value names are at most 16383 characters
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(name.size());
      const LONG result =
          ::RegEnumValueW(key_.Get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      // A name too long for the buffer is skipped; any other error (no more
      // values, the key deleted meanwhile) ends the walk.
      if (result == ERROR_MORE_DATA) continue;
      if (result != ERROR_SUCCESS) break;
      names.push_back(Narrow(name.data(), length));
    }
    return names;
  }

  std::optional<RegistryValue> ReadValue(std::string_view name) override {
    const std::wstring valueName = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    // The value may grow between the two calls: retry with the new size.
    for (int attempt = 0; attempt < 4; ++attempt) {
      std::string data(size, '\0');
      DWORD read = size;
      const LONG result = ::RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(data.data()), &read);
      if (result == ERROR_SUCCESS) {
        data.resize(read);
        return RegistryValue{type, std::move(data)};
      }
      if (result != ERROR_MORE_DATA) return std::nullopt;
      size = read;
    }
    return std::nullopt;
  }

  bool WriteValue(std::string_view name, const RegistryValue& value) override {
    return ::RegSetValueExW(key_.Get(), Wide(name).c_str(), 0, value.type,
                            reinterpret_cast<const BYTE*>(value.data.data()),
                            static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  }

  bool DeleteValue(std::string_view name) override {
    return ::RegDeleteValueW(key_.Get(), Wide(name).c_str()) == ERROR_SUCCESS;
  }

 private:
  UniqueRegKey key_;
};

}  // namespace

std::unique_ptr<IRegistryKey> Win32Registry::OpenKey(RegistryRoot root, std::string_view path, std::uint32_t access,
                                                     RegistryView view) {
  UniqueRegKey key;
  if (::RegOpenKeyExW(RootHandle(root), Wide(path).c_str(), 0, access | ViewFlags(view), key.Put()) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(std::move(key));
}

std::unique_ptr<IRegistryKey> Win32Registry::CreateKey(RegistryRoot root, std::string_view path,
                                                       RegistryView view) {
  UniqueRegKey key;
  if (::RegCreateKeyExW(RootHandle(root), Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE | ViewFlags(view), nullptr, key.Put(), nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(std::move(key));
}

}  // namespace bootmark::win32
