// The profile-function INI class on the system's own profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/ini_file.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_profile_api.h"
#include "scratch_folder.h"

namespace bootmark::win32 {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFileBytes;

class ProfileTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
  Win32FileSystem files;
  Win32ProfileApi profile;
};

TEST_F(ProfileTest, NewFileStaysUtf16AndKeepsNonAnsiText) {
  const std::string path = folder / "sub\\ProcessRestart.ini";
  TIniFile ini(files, profile, path);
  EXPECT_EQ(FileBytes(path), "\xFF\xFE");

  const std::string text = "Gr\u00FC\u00DFe \u4F60\u597D \u0416";
  ASSERT_TRUE(ini.WriteString("Application", "Greeting", text));
  ini.UpdateFile();
  EXPECT_EQ(FileBytes(path).substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(ini.ReadString("Application", "Greeting", ""), text);
}

TEST_F(ProfileTest, LongValuesAndLongSectionListsAreReadWhole) {
  const std::string path = folder / "long.ini";
  TIniFile ini(files, profile, path);
  for (const std::size_t length : {2046u, 2047u, 2048u, 5000u, 40000u}) {
    SCOPED_TRACE(length);
    const std::string value(length, 'v');
    ASSERT_TRUE(ini.WriteString("Long", "Value", value));
    EXPECT_EQ(ini.ReadString("Long", "Value", ""), value);
  }

  // More section names than the first list buffer holds.
  std::vector<std::string> names;
  for (int i = 0; i < 700; ++i) names.push_back("Section_with_a_rather_long_name_" + std::to_string(i));
  for (const std::string& name : names) ASSERT_TRUE(ini.WriteString(name, "k", "1"));
  std::vector<std::string> read = ini.ReadSections();
  read.erase(read.begin());  // "Long"
  EXPECT_EQ(read, names);
}

TEST_F(ProfileTest, ReadOnlyFileIsMadeWritable) {
  const std::string path = folder / "ro.ini";
  WriteFileBytes(path, testing::Utf16File("[A]\r\nx=1\r\n"));
  ASSERT_TRUE(files.SetAttributes(path, file_attr::kReadOnly));

  TIniFile ini(files, profile, path);
  EXPECT_EQ(files.GetAttributes(path).value_or(0) & file_attr::kReadOnly, 0u);
  EXPECT_TRUE(ini.WriteString("A", "y", "2"));
  EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
  EXPECT_EQ(ini.ReadString("A", "y", ""), "2");
}

TEST_F(ProfileTest, SeesWhatAnotherWriterChangedAtOnce) {
  const std::string path = folder / "shared.ini";
  TIniFile ours(files, profile, path);
  ASSERT_TRUE(ours.WriteString("S", "mine", "1"));

  // Another program writes through the same system functions.
  ASSERT_TRUE(::WritePrivateProfileStringW(L"S", L"theirs", L"2", Wide(path).c_str()));
  EXPECT_EQ(ours.ReadString("S", "theirs", ""), "2");
  EXPECT_EQ(ours.ReadSection("S"), (std::vector<std::string>{"mine", "theirs"}));

  ASSERT_TRUE(ours.DeleteKey("S", "mine"));
  ASSERT_TRUE(ours.EraseSection("S"));
  EXPECT_TRUE(ours.ReadSections().empty());
}

TEST_F(ProfileTest, TypedValuesUseTheSettingsFormats) {
  const std::string path = folder / "typed.ini";
  TIniFile ini(files, profile, path);
  ASSERT_TRUE(ini.WriteFloat("T", "f", 1.5));
  ASSERT_TRUE(ini.WriteBool("T", "b", true));
  ASSERT_TRUE(ini.WriteString("T", "hex", "0x1F"));
  ASSERT_TRUE(ini.WriteString("T", "comma", "2,25"));
  EXPECT_EQ(ini.ReadString("T", "f", ""), "1.5");
  EXPECT_EQ(ini.ReadString("T", "b", ""), "1");
  EXPECT_EQ(ini.ReadInteger("T", "hex", 0), 31);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "comma", 0.0), 2.25);
}

}  // namespace
}  // namespace bootmark::win32
