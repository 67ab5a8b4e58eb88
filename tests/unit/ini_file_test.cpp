// TIniFile over the profile functions: preparing the file and the typed value
// formats. What the profile functions themselves do is the system's.
#include "common/ini_file.h"

#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"
#include "fakes/portable_profile_api.h"
#include "fakes/utf16_file.h"

namespace bootmark {
namespace {

using testing::Utf16File;

constexpr std::string_view kFile = "C:\\Shared\\suite.ini";

struct Files {
  FakeFileSystem fs;
  PortableProfileApi profile{fs};
};

class IniFileTest : public ::testing::Test, protected Files {};

// --- Preparing the file ---------------------------------------------------------

TEST_F(IniFileTest, MissingFileIsCreatedInItsNewFolderAsAnEmptyUtf16File) {
  TIniFile ini(fs, profile, "C:\\ProgramData\\Tarvo\\Kestrune\\shared.ini");
  EXPECT_EQ(fs.Content("C:\\ProgramData\\Tarvo\\Kestrune\\shared.ini"), "\xFF\xFE");
  ini.WriteString("S", "k", "v");
  EXPECT_EQ(fs.Content("C:\\ProgramData\\Tarvo\\Kestrune\\shared.ini"),
            Utf16File("[S]\r\nk=v\r\n"));
}

TEST_F(IniFileTest, EmptyExistingFileGetsTheByteOrderMark) {
  fs.AddFile(kFile, "");
  TIniFile ini(fs, profile, std::string(kFile));
  EXPECT_EQ(fs.Content(kFile), "\xFF\xFE");
}

TEST_F(IniFileTest, ExistingContentIsLeftAlone) {
  fs.AddFile(kFile, "[S]\r\nk=v\r\n");
  TIniFile ini(fs, profile, std::string(kFile));
  EXPECT_EQ(fs.Content(kFile), "[S]\r\nk=v\r\n");
  EXPECT_EQ(fs.WriteCount(kFile), 0);
}

TEST_F(IniFileTest, ReadOnlyFileBecomesWritableAndStaysSo) {
  fs.AddFile(kFile, Utf16File("[S]\r\nk=old\r\n"), file_attr::kReadOnly | file_attr::kArchive);
  TIniFile ini(fs, profile, std::string(kFile));
  EXPECT_EQ(fs.GetAttributes(kFile), file_attr::kArchive);
  EXPECT_TRUE(ini.WriteString("S", "k", "new"));
  EXPECT_EQ(ini.ReadString("S", "k", ""), "new");

  // Made read-only again by someone else: UpdateFile clears it once more.
  fs.SetAttributes(kFile, file_attr::kReadOnly);
  EXPECT_FALSE(ini.WriteString("S", "k", "refused"));
  ini.UpdateFile();
  EXPECT_TRUE(ini.WriteString("S", "k", "after update"));
  EXPECT_EQ(ini.ReadString("S", "k", ""), "after update");
}

TEST_F(IniFileTest, NameWithoutFolderIsTakenFromTheCurrentFolder) {
  fs.AddDirectory("C:\\Work");
  fs.SetCurrentDirectory("C:\\Work");
  TIniFile ini(fs, profile, "plain.ini");
  EXPECT_EQ(ini.FileName(), ".\\plain.ini");
  ini.WriteString("S", "k", "v");
  EXPECT_EQ(fs.Content("C:\\Work\\plain.ini"), Utf16File("[S]\r\nk=v\r\n"));
}

TEST_F(IniFileTest, MissingOrUnreadableFileGivesDefaults) {
  TIniFile ini(fs, profile, std::string(kFile));
  ASSERT_TRUE(fs.DeleteFile(kFile));
  EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadInteger("S", "k", 7), 7);
  EXPECT_TRUE(ini.ReadSections().empty());

  fs.AddFile(kFile, Utf16File("[S]\r\nk=v\r\n"));
  fs.SetUnreadable(kFile);
  const int writesBefore = fs.WriteCount(kFile);
  EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
  EXPECT_FALSE(ini.WriteString("S", "k", "x")) << "a file that cannot be read is not replaced";
  EXPECT_EQ(fs.WriteCount(kFile), writesBefore);
}

TEST_F(IniFileTest, SectionsAndKeysExistWithoutRegardToCase) {
  fs.AddFile(kFile, Utf16File("[B]\r\nz=1\r\ny=3\r\n[A]\r\n[b]\r\nw=4\r\n"));
  TIniFile ini(fs, profile, std::string(kFile));
  EXPECT_FALSE(ini.SectionExists("c"));
  EXPECT_TRUE(ini.SectionExists("a"));
  EXPECT_TRUE(ini.ValueExists("B", "Y"));
  EXPECT_FALSE(ini.ValueExists("B", "w"));
}

// --- Value formats ------------------------------------------------------------------

TEST_F(IniFileTest, TypedValuesShareTheSettingsFormats) {
  TIniFile ini(fs, profile, std::string(kFile));
  const DateTime when = *EncodeDateTime({2024, 12, 31, 23, 59, 58, 7});
  ini.WriteInteger("V", "int", -12);
  ini.WriteBool("V", "bool", true);
  ini.WriteFloat("V", "float", 0.125);
  ini.WriteDateTime("V", "when", when);
  ini.WriteString("V", "hex", "0x10");
  ini.WriteString("V", "comma", "1,5");
  ini.WriteString("V", "junk", "abc");

  EXPECT_EQ(ini.ReadString("V", "bool", ""), "1");
  EXPECT_EQ(ini.ReadString("V", "float", ""), "0.125");
  EXPECT_EQ(ini.ReadString("V", "when", ""), "12/31/2024 23:59:58:007");
  EXPECT_EQ(ini.ReadInteger("V", "int", 0), -12);
  EXPECT_EQ(ini.ReadInteger("V", "hex", 0), 16);
  EXPECT_EQ(ini.ReadInteger("V", "junk", 5), 5);
  EXPECT_TRUE(ini.ReadBool("V", "bool", false));
  EXPECT_TRUE(ini.ReadBool("V", "missing", true));
  EXPECT_DOUBLE_EQ(ini.ReadFloat("V", "comma", 0), 1.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("V", "missing", 2.5), 2.5);
  EXPECT_THROW(ini.ReadFloat("V", "junk", 0), EConvertError);
  EXPECT_EQ(DecodeDateTime(ini.ReadDateTime("V", "when", 0)),
            (CalendarTime{2024, 12, 31, 23, 59, 58, 7}));
  EXPECT_EQ(ini.ReadDateTime("V", "junk", 3.0), 3.0);
}

}  // namespace
}  // namespace bootmark
