// The registry port on the real registry, views included.
// The clean-up uses RegDeleteTreeW, newer than the program's own minimum system.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <gtest/gtest.h>

#include "common/registry_values.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

std::string TestKeyPath() { return "Software\\Tarvo\\BootmarkPortTest" + std::to_string(::GetCurrentProcessId()); }

// Removes the test key (and its subkeys) from both views afterwards.
struct RegistryCleanup {
  ~RegistryCleanup() {
    const std::wstring path = Wide(TestKeyPath());
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        UniqueRegKey key;
        if (::RegOpenKeyExW(root, L"", 0, KEY_ALL_ACCESS | view, key.Put()) == ERROR_SUCCESS) {
          ::RegDeleteTreeW(key.Get(), path.c_str());
        }
      }
    }
  }
};

TEST(Win32Registry, TypedValuesRoundTrip) {
  RegistryCleanup cleanup;
  Win32Registry registry;
  auto key = registry.CreateKey(RegistryRoot::CurrentUser, TestKeyPath() + "\\Sub", RegistryView::Default);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteValue("Text", MakeRegistryString("C:\\Program Files\\\u00C9t\u00E9\\a.exe")));
  ASSERT_TRUE(key->WriteValue("Expand", MakeRegistryString("%windir%\\x.exe", registry_type::kExpandString)));
  ASSERT_TRUE(key->WriteValue("Number", MakeRegistryDword(0xFFFFFFFEu)));
  ASSERT_TRUE(key->WriteValue("List", MakeRegistryMultiString({"8.8.8.8", "1.1.1.1"})));
  ASSERT_TRUE(key->WriteValue("", MakeRegistryString("default")));

  auto read = registry.OpenKey(RegistryRoot::CurrentUser, TestKeyPath() + "\\sub", registry_access::kRead,
                               RegistryView::Default);
  ASSERT_TRUE(read);
  EXPECT_EQ(ReadRegistryString(*read, "text"), "C:\\Program Files\\\u00C9t\u00E9\\a.exe");
  EXPECT_EQ(ReadRegistryString(*read, "Expand"), "%windir%\\x.exe");  // never expanded here
  EXPECT_EQ(ReadRegistryDword(*read, "Number"), 0xFFFFFFFEu);
  EXPECT_EQ(ReadRegistryMultiString(*read, "List"), (std::vector<std::string>{"8.8.8.8", "1.1.1.1"}));
  EXPECT_EQ(ReadRegistryString(*read, ""), "default");
  EXPECT_FALSE(ReadRegistryDword(*read, "Text").has_value());
  EXPECT_FALSE(ReadRegistryString(*read, "Missing").has_value());
  EXPECT_EQ(read->ValueNames().size(), 5u);
  EXPECT_FALSE(read->DeleteValue("Text"));  // opened for reading only
  EXPECT_TRUE(key->DeleteValue("Text"));
  EXPECT_FALSE(read->ReadValue("Text").has_value());

  auto parent = registry.OpenKey(RegistryRoot::CurrentUser, TestKeyPath(), registry_access::kRead,
                                 RegistryView::Default);
  ASSERT_TRUE(parent);
  EXPECT_EQ(parent->SubKeyNames(), std::vector<std::string>{"Sub"});
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, TestKeyPath() + "\\Missing", registry_access::kRead,
                             RegistryView::Default),
            nullptr);
}

// A key deleted while it is open reports an error for every index: the walk ends.
TEST(Win32Registry, WalkOfAKeyDeletedMeanwhileEnds) {
  RegistryCleanup cleanup;
  Win32Registry registry;
  auto key = registry.CreateKey(RegistryRoot::CurrentUser, TestKeyPath() + "\\Gone", RegistryView::Default);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteValue("a", MakeRegistryDword(1)));
  ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(TestKeyPath()).c_str()), ERROR_SUCCESS);
  EXPECT_TRUE(key->ValueNames().empty());
  EXPECT_TRUE(key->SubKeyNames().empty());
}

TEST(Win32Registry, DefaultViewIsTheOneA32BitProgramSees) {
  RegistryCleanup cleanup;
  Win32Registry registry;
  const std::string path = TestKeyPath();
  ASSERT_TRUE(registry.CreateKey(RegistryRoot::LocalMachine, path, RegistryView::Default)
                  ->WriteValue("View", MakeRegistryString("default")));
  ASSERT_TRUE(registry.CreateKey(RegistryRoot::LocalMachine, path, RegistryView::Registry64)
                  ->WriteValue("View", MakeRegistryString("64")));

  auto as32 = registry.OpenKey(RegistryRoot::LocalMachine, path, registry_access::kRead, RegistryView::Registry32);
  auto as64 = registry.OpenKey(RegistryRoot::LocalMachine, path, registry_access::kRead, RegistryView::Registry64);
  ASSERT_TRUE(as32 && as64);
  EXPECT_EQ(ReadRegistryString(*as32, "View"), "default");
  EXPECT_EQ(ReadRegistryString(*as64, "View"), "64");
  // The 32-bit view of the machine's software key is its Wow6432Node.
  auto node = registry.OpenKey(RegistryRoot::LocalMachine, "Software\\Wow6432Node\\" + path.substr(9),
                               registry_access::kRead, RegistryView::Registry64);
  ASSERT_TRUE(node);
  EXPECT_EQ(ReadRegistryString(*node, "View"), "default");
}

TEST(Win32Registry, ReadsDwordsStraightFromAPath) {
  RegistryCleanup cleanup;
  Win32Registry registry;
  registry.CreateKey(RegistryRoot::CurrentUser, TestKeyPath(), RegistryView::Default)
      ->WriteValue("AppliedDPI", MakeRegistryDword(144));
  EXPECT_EQ(ReadRegistryDword(registry, RegistryRoot::CurrentUser, TestKeyPath(), "applieddpi"), 144u);
  EXPECT_FALSE(ReadRegistryDword(registry, RegistryRoot::LocalMachine, TestKeyPath(), "AppliedDPI").has_value());
}

}  // namespace
}  // namespace bootmark::win32
