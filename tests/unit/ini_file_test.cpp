// TIniFile over the portable profile functions: preparing the file, the system's
// reading rules, writes that change only their own line and keep the file's
// encoding, and the typed value formats.
#include "common/ini_file.h"

#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"
#include "fakes/portable_profile_api.h"

namespace bootmark {
namespace {

constexpr std::string_view kFile = "C:\\Shared\\suite.ini";

using Lines = std::vector<std::string>;

std::string Utf16LE(std::string_view utf8) {
  std::string bytes = "\xFF\xFE";
  AppendUtf16(bytes, utf8);
  return bytes;
}

std::string Utf16BE(std::string_view utf8) {
  std::string bytes = "\xFE\xFF";
  AppendUtf16(bytes, utf8, true);
  return bytes;
}

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
            Utf16LE("[S]\r\nk=v\r\n"));
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
  fs.AddFile(kFile, Utf16LE("[S]\r\nk=old\r\n"), file_attr::kReadOnly | file_attr::kArchive);
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
  EXPECT_EQ(fs.Content("C:\\Work\\plain.ini"), Utf16LE("[S]\r\nk=v\r\n"));
}

// --- Reading rules --------------------------------------------------------------

TEST(IniFileRead, ReadStringFollowsTheSystemsRules) {
  const struct {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* expected;
  } cases[] = {
      {"Plain", "[S]\r\nk=v\r\n", "S", "k", "d", "v"},
      {"CaseIgnored", "[Sect]\r\nKey=v\r\n", "sECT", "kEY", "d", "v"},
      {"Trimmed", "[S]\r\n  k  =  v w  \r\n", "S", "k", "d", "v w"},
      {"DoubleQuotesStripped", "[S]\r\nk=\" padded \"\r\n", "S", "k", "d", " padded "},
      {"SingleQuotesStripped", "[S]\r\nk='x'\r\n", "S", "k", "d", "x"},
      {"MismatchedQuotesKept", "[S]\r\nk=\"x'\r\n", "S", "k", "d", "\"x'"},
      {"LoneQuoteKept", "[S]\r\nk=\"\r\n", "S", "k", "d", "\""},
      {"FirstKeyWins", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "d", "1"},
      {"FirstSectionWins", "[S]\r\na=1\r\n[s]\r\nk=2\r\n", "S", "k", "d", "d"},
      {"CommentIsNoKey", "[S]\r\n;k=1\r\n", "S", ";k", "d", "d"},
      {"KeyOfNextSectionNotTaken", "[S]\r\n[T]\r\nk=1\r\n", "S", "k", "d", "d"},
      {"LinesBeforeSectionsBelongToNone", "k=1\r\n[S]\r\n", "S", "k", "d", "d"},
      {"DefaultLosesTrailingBlanks", "[S]\r\n", "S", "k", "  d  ", "  d"},
      {"HeaderWithBlanks", "  [ S ] \r\nk=1\r\n", "S", "k", "d", "1"},
      {"LfOnly", "[S]\nk=1\n", "S", "k", "d", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Files f;
    f.fs.AddFile(kFile, Utf16LE(c.text));
    TIniFile ini(f.fs, f.profile, std::string(kFile));
    EXPECT_EQ(ini.ReadString(c.section, c.key, c.defaultValue), c.expected);
  }
}

TEST_F(IniFileTest, MissingOrUnreadableFileGivesDefaults) {
  TIniFile ini(fs, profile, std::string(kFile));
  ASSERT_TRUE(fs.DeleteFile(kFile));
  EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadInteger("S", "k", 7), 7);
  EXPECT_TRUE(ini.ReadSections().empty());

  fs.AddFile(kFile, Utf16LE("[S]\r\nk=v\r\n"));
  fs.SetUnreadable(kFile);
  const int writesBefore = fs.WriteCount(kFile);
  EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
  EXPECT_FALSE(ini.WriteString("S", "k", "x")) << "a file that cannot be read is not replaced";
  EXPECT_EQ(fs.WriteCount(kFile), writesBefore);
}

TEST_F(IniFileTest, SectionAndKeyListsFollowFileOrder) {
  fs.AddFile(kFile, Utf16LE("[B]\r\nz=1\r\n;c=2\r\nflag\r\ny=3\r\n[A]\r\n[b]\r\nw=4\r\n"));
  TIniFile ini(fs, profile, std::string(kFile));
  EXPECT_EQ(ini.ReadSections(), (Lines{"B", "A", "b"}));
  EXPECT_EQ(ini.ReadSection("b"), (Lines{"z", "y"}));
  EXPECT_TRUE(ini.SectionExists("a"));
  EXPECT_TRUE(ini.ValueExists("B", "Y"));
  EXPECT_FALSE(ini.ValueExists("B", "w"));
}

// --- Writing keeps every other line --------------------------------------------------

constexpr const char* kCommented =
    "; Suite settings\r\n"
    "[Main]\r\n"
    "  Mode = 2   ; two\r\n"
    "; keep me\r\n"
    "Name=Old\r\n"
    "\r\n"
    "[Other]\r\n"
    "x=1\r\n";

TEST(IniFileWrite, OnlyTheConcernedLinesChange) {
  const struct {
    const char* name;
    void (*act)(TIniFile&);
    const char* expected;
  } cases[] = {
      {"ReplaceKeepsTheFileSpellingOfTheKey", [](TIniFile& ini) { ini.WriteString("main", "NAME", "New"); },
       "; Suite settings\r\n[Main]\r\n  Mode = 2   ; two\r\n; keep me\r\nName=New\r\n\r\n[Other]\r\nx=1\r\n"},
      {"NewKeyGoesAfterTheSectionsLastLine", [](TIniFile& ini) { ini.WriteString("Main", "Added", "1"); },
       "; Suite settings\r\n[Main]\r\n  Mode = 2   ; two\r\n; keep me\r\nName=Old\r\nAdded=1\r\n\r\n"
       "[Other]\r\nx=1\r\n"},
      {"NewKeyInTheLastSection", [](TIniFile& ini) { ini.WriteString("Other", "y", "2"); },
       "; Suite settings\r\n[Main]\r\n  Mode = 2   ; two\r\n; keep me\r\nName=Old\r\n\r\n[Other]\r\nx=1\r\ny=2\r\n"},
      {"NewSectionIsAppended", [](TIniFile& ini) { ini.WriteString("New", "k", "v"); },
       "; Suite settings\r\n[Main]\r\n  Mode = 2   ; two\r\n; keep me\r\nName=Old\r\n\r\n[Other]\r\nx=1\r\n\r\n"
       "[New]\r\nk=v\r\n"},
      {"DeleteKey", [](TIniFile& ini) { ini.DeleteKey("MAIN", "mode"); },
       "; Suite settings\r\n[Main]\r\n; keep me\r\nName=Old\r\n\r\n[Other]\r\nx=1\r\n"},
      {"EraseSection", [](TIniFile& ini) { ini.EraseSection("main"); }, "; Suite settings\r\n[Other]\r\nx=1\r\n"},
      {"DeleteMissingKeyChangesNothing", [](TIniFile& ini) { ini.DeleteKey("Main", "nope"); }, kCommented},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Files f;
    f.fs.AddFile(kFile, Utf16LE(kCommented));
    TIniFile ini(f.fs, f.profile, std::string(kFile));
    c.act(ini);
    std::string text;
    ASSERT_TRUE(DecodeFileText(f.fs, *f.fs.Content(kFile), text));
    EXPECT_EQ(text, c.expected);
  }
}

TEST(IniFileWrite, FileKeepsItsEncoding) {
  const struct {
    const char* name;
    std::string before;
    std::string after;
  } cases[] = {
      {"Utf16LE", Utf16LE("[Café]\r\nk=é\r\n"), Utf16LE("[Café]\r\nk=é\r\nn=€\r\n")},
      {"Utf16BE", Utf16BE("[Café]\r\nk=é"), Utf16BE("[Café]\r\nk=é\r\nn=€\r\n")},
      {"Utf8", "\xEF\xBB\xBF[Café]\r\nk=é\r\n", "\xEF\xBB\xBF[Café]\r\nk=é\r\nn=€\r\n"},
      {"Ansi", "[Caf\xE9]\r\nk=\xE9\r\n", "[Caf\xE9]\r\nk=\xE9\r\nn=\x80\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Files f;
    f.fs.AddFile(kFile, c.before);
    TIniFile ini(f.fs, f.profile, std::string(kFile));
    EXPECT_EQ(ini.ReadString("Café", "k", ""), "é");
    ASSERT_TRUE(ini.WriteString("Café", "n", "€"));
    EXPECT_EQ(f.fs.Content(kFile), c.after);
  }
}

TEST_F(IniFileTest, CharactersTheAnsiCodePageLacksBecomeQuestionMarks) {
  fs.AddFile(kFile, "[S]\r\n");
  TIniFile ini(fs, profile, std::string(kFile));
  ini.WriteString("S", "k", "a\xD0\x96z");  // Cyrillic Zhe
  EXPECT_EQ(fs.Content(kFile), "[S]\r\nk=a?z\r\n");
}

TEST_F(IniFileTest, ChangesOfAnotherWriterInBetweenAreKept) {
  TIniFile ini(fs, profile, std::string(kFile));
  ini.WriteString("S", "mine", "1");
  std::string text;
  ASSERT_TRUE(DecodeFileText(fs, *fs.Content(kFile), text));
  fs.AddFile(kFile, Utf16LE(text + "theirs=2\r\n[Theirs]\r\nt=3\r\n"));
  ini.WriteString("S", "mine2", "4");
  EXPECT_EQ(ini.ReadString("S", "theirs", ""), "2");
  EXPECT_EQ(ini.ReadString("Theirs", "t", ""), "3");
  EXPECT_EQ(ini.ReadSection("S"), (Lines{"mine", "theirs", "mine2"}));
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
