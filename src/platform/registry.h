#pragma once
// The Windows registry.
#include <cstdint>
#include <optional>
#include <string_view>

namespace bootmark {

enum class RegistryRoot { kCurrentUser, kLocalMachine, kUsers, kClassesRoot };

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // A REG_DWORD value of `key` below `root`; nullopt when the key or the value
  // is missing, or the value is of another type.
  virtual std::optional<std::uint32_t> ReadInteger(RegistryRoot root, std::string_view key,
                                                   std::string_view name) = 0;
};

}  // namespace bootmark
