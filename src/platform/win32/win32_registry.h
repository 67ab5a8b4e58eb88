#pragma once
#include "platform/registry.h"

namespace bootmark::win32 {

class Win32Registry : public IRegistry {
 public:
  std::unique_ptr<IRegistryKey> OpenKey(RegistryRoot root, std::string_view path, std::uint32_t access,
                                        RegistryView view) override;
  std::unique_ptr<IRegistryKey> CreateKey(RegistryRoot root, std::string_view path, RegistryView view) override;
};

}  // namespace bootmark::win32
