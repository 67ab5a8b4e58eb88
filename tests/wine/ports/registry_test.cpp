// The registry contract on the real registry, and what only the real one does: a
// key deleted by someone else while it is open.
// The clean-up uses RegDeleteTreeW, newer than the program's own minimum system.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include "contracts/registry_contract.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_registry.h"

namespace bootmark::contracts {
namespace {

class Win32Env {
 public:
  // Removes the test keys from both roots and both views afterwards.
  ~Win32Env() {
    for (const char* parent : {"Software\\Tarvo\\", "SYSTEM\\"}) {
      const std::wstring path = win32::Wide(parent + Name());
      for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
          win32::UniqueRegKey key;
          if (::RegOpenKeyExW(root, L"", 0, KEY_ALL_ACCESS | view, key.Put()) == ERROR_SUCCESS) {
            ::RegDeleteTreeW(key.Get(), path.c_str());
          }
        }
      }
    }
  }
  IRegistry& Registry() { return registry_; }
  std::string Name() const { return "BootmarkContract" + std::to_string(::GetCurrentProcessId()); }

 private:
  win32::Win32Registry registry_;
};

// A key deleted while it is open reports an error for every index: the walk ends.
TEST(Win32Registry, WalkOfAKeyDeletedMeanwhileEnds) {
  Win32Env env;
  const std::string path = "Software\\Tarvo\\" + env.Name();
  auto key = env.Registry().CreateKey(RegistryRoot::CurrentUser, path + "\\Gone", RegistryView::Default);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteValue("a", MakeRegistryDword(1)));
  ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, win32::Wide(path).c_str()), ERROR_SUCCESS);
  EXPECT_TRUE(key->ValueNames().empty());
  EXPECT_TRUE(key->SubKeyNames().empty());
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Env);

}  // namespace bootmark::contracts
