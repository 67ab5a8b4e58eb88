#include "common/registry_values.h"

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"

namespace bootmark {
namespace {

TEST(RegistryValues, StoredBytesReadBackAsTheirTypes) {
  struct Case {
    const char* name;
    RegistryValue stored;
    std::optional<std::string> text;
    std::optional<std::uint32_t> number;
    std::optional<std::vector<std::string>> list;
  };
  const std::string utf16Abc("a\0b\0c\0", 6);
  const Case cases[] = {
      {"string with terminator", MakeRegistryString("C:\\a b\\x.exe"), "C:\\a b\\x.exe", {}, {}},
      {"string without terminator", {registry_type::kString, utf16Abc}, "abc", {}, {}},
      {"string cut inside a unit", {registry_type::kString, utf16Abc + "d"}, "abc", {}, {}},
      {"string with text after its zero", {registry_type::kString, std::string("a\0\0\0b\0", 6)}, "a", {}, {}},
      {"dword", MakeRegistryDword(0x01020304), {}, 0x01020304u, {}},
      {"dword too short", {registry_type::kDword, std::string("\x01\x02", 2)}, {}, {}, {}},
      {"binary is no dword", {registry_type::kBinary, std::string(4, '\x01')}, {}, {}, {}},
      {"multi string", MakeRegistryMultiString({"8.8.8.8", "1.1.1.1"}), {}, {},
       std::vector<std::string>{"8.8.8.8", "1.1.1.1"}},
      {"multi string without end marker", {registry_type::kMultiString, std::string("a\0\0\0b\0", 6)}, {}, {},
       std::vector<std::string>{"a", "b"}},
      {"empty multi string", {registry_type::kMultiString, std::string(2, '\0')}, {}, {},
       std::vector<std::string>{}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    FakeRegistry registry;
    registry.SetValue(RegistryRoot::CurrentUser, "K", "V", test.stored);
    auto key = registry.OpenKey(RegistryRoot::CurrentUser, "k", registry_access::kRead, RegistryView::Default);
    ASSERT_TRUE(key);
    EXPECT_EQ(ReadRegistryString(*key, "v"), test.text);
    EXPECT_EQ(ReadRegistryDword(*key, "v"), test.number);
    EXPECT_EQ(ReadRegistryMultiString(*key, "v"), test.list);
  }
}

TEST(RegistryValues, RootNamesInAnyCase) {
  EXPECT_EQ(ParseRegistryRootName("hkey_local_machine"), RegistryRoot::LocalMachine);
  EXPECT_EQ(ParseRegistryRootName("HKEY_DYN_DATA"), RegistryRoot::DynData);
  EXPECT_FALSE(ParseRegistryRootName("HKLM").has_value());
}

}  // namespace
}  // namespace bootmark
