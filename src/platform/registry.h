#pragma once
// The Windows registry: keys under the predefined roots, in the view a 32-bit
// program sees by default or in an explicit 32-bit or 64-bit view.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bootmark {

// The predefined keys, with the handle values Windows gives them.
enum class RegistryRoot : std::uint32_t {
  ClassesRoot = 0x80000000,
  CurrentUser = 0x80000001,
  LocalMachine = 0x80000002,
  Users = 0x80000003,
  PerformanceData = 0x80000004,
  CurrentConfig = 0x80000005,
  DynData = 0x80000006,
};

// Which registry a key is opened in. The program is 32-bit: its default view is the
// 32-bit registry on 64-bit Windows (a 64-bit build asks for it explicitly).
enum class RegistryView { Default, Registry64, Registry32 };

// Access rights, as the Win32 constants.
namespace registry_access {
constexpr std::uint32_t kRead = 0x20019;       // KEY_READ
constexpr std::uint32_t kWrite = 0x20006;      // KEY_WRITE
constexpr std::uint32_t kAllAccess = 0xF003F;  // KEY_ALL_ACCESS
}  // namespace registry_access

// Value types, as the Win32 constants.
namespace registry_type {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kString = 1;        // REG_SZ
constexpr std::uint32_t kExpandString = 2;  // REG_EXPAND_SZ
constexpr std::uint32_t kBinary = 3;        // REG_BINARY
constexpr std::uint32_t kDword = 4;         // REG_DWORD
constexpr std::uint32_t kMultiString = 7;   // REG_MULTI_SZ
constexpr std::uint32_t kQword = 11;        // REG_QWORD
}  // namespace registry_type

// A value as stored: its type and raw bytes (strings are UTF-16 LE).
struct RegistryValue {
  std::uint32_t type = registry_type::kNone;
  std::string data;
  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// One open key; closed when the object is destroyed.
class IRegistryKey {
 public:
  virtual ~IRegistryKey() = default;
  virtual std::vector<std::string> SubKeyNames() = 0;
  virtual std::vector<std::string> ValueNames() = 0;
  // Nullopt when the value does not exist or cannot be read. "" names the default value.
  virtual std::optional<RegistryValue> ReadValue(std::string_view name) = 0;
  virtual bool WriteValue(std::string_view name, const RegistryValue& value) = 0;
  virtual bool DeleteValue(std::string_view name) = 0;
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // Opens an existing key; nullptr when it does not exist or access is refused.
  virtual std::unique_ptr<IRegistryKey> OpenKey(RegistryRoot root, std::string_view path, std::uint32_t access,
                                                RegistryView view) = 0;
  // Opens the key for reading and writing, creating it and its missing parents first.
  virtual std::unique_ptr<IRegistryKey> CreateKey(RegistryRoot root, std::string_view path,
                                                  RegistryView view) = 0;
};

}  // namespace bootmark
