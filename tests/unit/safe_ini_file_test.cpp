// TSafeIniFile: creation, loading by byte order mark, the parsing rules, and
// files that cannot be read (never overwritten automatically); ReadIniValue.
#include "common/safe_ini_file.h"

#include <gtest/gtest.h>

#include <optional>

#include "base/text.h"
#include "common/ini_value.h"
#include "unit/safe_ini_test_support.h"

namespace bootmark {
namespace {

using namespace safe_ini_test;

// --- Creation -----------------------------------------------------------------

TEST(SafeIniFileCreation, MissingFileIsCreatedWithItsFoldersAndOnlyTheByteOrderMark) {
  const std::pair<TextEncoding, std::string_view> cases[] = {
      {TextEncoding::Utf16LE, "\xFF\xFE"}, {TextEncoding::Utf16BE, "\xFE\xFF"}, {TextEncoding::Utf8, "\xEF\xBB\xBF"},
      {TextEncoding::Ansi, ""}, {TextEncoding::None, ""}};
  const std::string path = "C:\\Users\\Ann\\AppData\\Tarvo\\Kestrune\\new.ini";
  for (const auto& [encoding, bytes] : cases) {
    SCOPED_TRACE(static_cast<int>(encoding));
    FakeFileSystem fs;
    {
      TSafeIniFile ini(fs, path, encoding);
      EXPECT_EQ(ini.LastError(), 0u);
      EXPECT_FALSE(ini.Modified());
      EXPECT_TRUE(ini.ReadSections().empty());
    }
    EXPECT_TRUE(fs.DirectoryExists("C:\\Users\\Ann\\AppData\\Tarvo\\Kestrune"));
    EXPECT_EQ(fs.Content(path), std::string(bytes));
    EXPECT_EQ(fs.WriteCount(path), 1) << "nothing but the creation is written";
  }
}

// --- Loading ------------------------------------------------------------------

TEST(SafeIniFileLoad, TextIsDecodedByItsByteOrderMark) {
  const std::string text = "[Café]\r\nName=Zoë €5\r\nOther=x\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"Utf16LE", Utf16File(text)}, {"Utf16BE", Utf16File(text, true)}, {"Utf8Bom", "\xEF\xBB\xBF" + text},
      // Windows-1252: E9 = é, EB = ë, 80 = €.
      {"Ansi", "[Caf\xE9]\r\nName=Zo\xEB \x80" "5\r\nOther=x\r\n"},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    FakeFileSystem fs;
    fs.AddFile(kFile, bytes);
    TSafeIniFile ini(fs, std::string(kFile));
    EXPECT_EQ(ini.LastError(), 0u);
    EXPECT_EQ(ini.ReadString("Café", "Name", "?"), "Zoë €5");
    EXPECT_EQ(ini.ReadString("Café", "Other", "?"), "x");
  }
}

TEST(SafeIniFileLoad, ParsingRules) {
  // The rule, the file, the section and key read, and the value ("<default>": not found).
  const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
      {"BlanksAroundKeyAndValue", "[S]\r\n\t key  =  v a l \t\r\n", "S", "key", "v a l"},
      {"ValueKeepsLaterEquals", "[S]\r\nk = a=b=c\r\n", "S", "k", "a=b=c"},
      {"SectionNameTrimmed", "  [  Main  ]  \r\nk=1\r\n", "Main", "k", "1"},
      {"NonAsciiCaseIgnored", "[Größe]\r\nÄrger=ja\r\n", "GRÖßE", "ärger", "ja"},
      {"IndentedCommentSkipped", "[S]\r\n   ;k=1\r\n", "S", "k", "<default>"},
      {"FirstOfDuplicateKeysWins", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "1"},
      {"FirstOfDuplicateSectionsWins", "[S]\r\na=1\r\n[s]\r\nb=2\r\n", "S", "b", "<default>"},
      {"LfLineEndsNoneAtTheEnd", "[S]\nk=lf", "S", "k", "lf"}, {"CrLineEnds", "[S]\rk=cr\r", "S", "k", "cr"},
      {"BracketInsideName", "[a]b]\r\nk=1\r\n", "a]b", "k", "1"},
      {"LoneBracketIsALine", "[S]\r\n[\r\nk=1\r\n", "S", "k", "1"},
      {"EmptyBracketsAreASection", "[S]\r\n[]\r\nk=1\r\n", "", "k", "1"},
  };
  for (const auto& [name, text, section, key, expected] : cases) {
    SCOPED_TRACE(name);
    FakeFileSystem fs;
    fs.AddFile(kFile, Utf16File(text));
    TSafeIniFile ini(fs, std::string(kFile));
    EXPECT_EQ(ini.ReadString(section, key, "<default>"), expected);
  }
}

TEST_F(SafeIniFileTest, SectionListsKeepFileOrderAndDuplicates) {
  Add(Utf16File("[B]\r\nz=1\r\nraw text\r\ny=2\r\n[A]\r\n[b]\r\nx=3\r\n"));
  TSafeIniFile ini(fs, std::string(kFile));
  EXPECT_EQ(ini.ReadSections(), (Lines{"B", "A", "b"}));
  EXPECT_EQ(ini.ReadSection("b"), (Lines{"z", "y"}));
  EXPECT_EQ(ini.ReadSectionValues("B"), (Lines{"z=1", "raw text", "y=2"}));
  EXPECT_TRUE(ini.SectionExists("a"));
  EXPECT_TRUE(ini.ValueExists("B", "Y"));
  EXPECT_FALSE(ini.ValueExists("B", "raw text"));
}

TEST_F(SafeIniFileTest, NulUnitsSurviveLoadAndSave) {
  Add(Utf16File(std::string("[S]\r\nk=a\0b\r\n\r\n", 14)));
  {
    TSafeIniFile ini(fs, std::string(kFile));
    EXPECT_EQ(ini.ReadString("S", "k", ""), std::string("a\0b", 3));
    ini.WriteString("S", "other", "1");
  }
  EXPECT_EQ(fs.Text(kFile), std::string("[S]\r\nk=a\0b\r\nother=1\r\n\r\n", 23));
}

// An object bound to no file loads others' content but never writes.
TEST_F(SafeIniFileTest, UnboundObjectLoadsOtherFilesAndNeverWrites) {
  fs.AddFile("C:\\other.ini", Utf16File("[O]\r\nk=other\r\n"));
  {
    TSafeIniFile ini(fs);
    ini.WriteString("Old", "k", "v");
    ini.LoadFromFile("C:\\other.ini");
    EXPECT_EQ(ini.ReadSections(), Lines{"O"});
    ini.LoadFromFile("C:\\missing.ini");
    EXPECT_EQ(ini.LastError(), 0u);
    EXPECT_TRUE(ini.ReadSections().empty());
    ini.WriteString("S", "k", "v");
    ini.UpdateFile();
  }
  EXPECT_EQ(fs.TotalWriteCount(), 0);
}

// --- Files that cannot be read ----------------------------------------------------

// The object stays empty and the file is never saved over automatically; only an
// explicit UpdateFile writes it, after moving what it held aside.
TEST(SafeIniFileUnreadable, ObjectIsEmptyAndAnExplicitUpdateKeepsTheOldBytesAside) {
  const std::string sideCopy = std::string(kFile) + ".unreadable";
  // The file, whether another process holds it open, and the error the object reports.
  const std::tuple<const char*, std::string, bool, std::uint32_t> cases[] = {
      {"SharingViolation", Utf16File("[S]\r\nk=old\r\n"), true, 32},
      {"OddUtf16ByteCount", Utf16File("[S]\r\nk=old\r\n") + "\x41", false, 1113},
      {"IllFormedUtf8", "\xEF\xBB\xBF[S]\r\nk=\xC3\x28\r\n", false, 1113},
      {"BinaryWithoutByteOrderMark", std::string("SQLite format 3\0\x10\0[S]\r\n", 23), false, 1113},
  };
  for (const auto& [name, bytes, lockFile, error] : cases) {
    SCOPED_TRACE(name);
    for (const bool update : {false, true}) {
      FakeFileSystem fs;
      fs.AddFile(kFile, bytes);
      fs.AddFile(sideCopy, "an older side copy");
      if (lockFile) fs.SetUnreadable(kFile);
      {
        TSafeIniFile ini(fs, std::string(kFile));
        EXPECT_EQ(ini.LastError(), error);
        EXPECT_TRUE(ini.NoAutoSave());
        EXPECT_TRUE(ini.ReadSections().empty());
        if (!update) {
          ini.WriteString("S", "k", "new");
          ini.DeleteKey("S", "k");
          ini.WriteInteger("T", "n", 5);
        } else {
          ini.WriteString("S", "k", "new");
          ini.UpdateFile();
          // The file healed: a second save does not move the new content aside.
          ini.WriteString("S", "k", "newer");
          ini.UpdateFile();
        }
      }
      EXPECT_EQ(fs.Content(kFile), update ? Utf16File("[S]\r\nk=newer\r\n\r\n") : bytes);
      EXPECT_EQ(fs.Content(sideCopy), update ? bytes : "an older side copy");
    }
  }
}

TEST(SafeIniFileUnreadable, NothingIsWrittenWhenTheFileCannotBeMovedAside) {
  const std::string bytes = Utf16File("[S]\r\nk=old\r\n") + "\x41";
  const std::string sideCopy = std::string(kFile) + ".unreadable";
  // The file itself is held open, or an older side copy cannot make way (read-only).
  for (const bool oldSideCopyStays : {false, true}) {
    SCOPED_TRACE(oldSideCopyStays);
    FakeFileSystem fs;
    fs.AddFile(kFile, bytes);
    if (oldSideCopyStays) {
      fs.AddFile(sideCopy, "older", file_attr::kReadOnly);
    } else {
      fs.HoldOpenForWriting(kFile);
    }
    TSafeIniFile ini(fs, std::string(kFile));
    ini.WriteString("S", "k", "new");
    ini.UpdateFile();
    EXPECT_EQ(ini.LastError(), 1u);
    EXPECT_EQ(fs.WriteCount(kFile), 0);
    EXPECT_EQ(fs.Content(kFile), bytes);
    EXPECT_EQ(fs.FileExists(sideCopy), oldSideCopyStays);
  }
}

TEST_F(SafeIniFileTest, FailingLoadFilterCountsAsUnreadable) {
  const std::string bytes = Add(Utf16File("[S]\r\nk=old\r\n"));
  {
    TSafeIniFile ini(fs, std::string(kFile), TextEncoding::None,
                     [](const std::string&, std::string&) { return false; });
    EXPECT_EQ(ini.LastError(), 1u);
    ini.WriteString("S", "k", "new");
  }
  EXPECT_EQ(fs.Content(kFile), bytes);
}

TEST_F(SafeIniFileTest, BytesPassThroughTheFiltersBothWays) {
  const auto scramble = [](const std::string& in, std::string& out) {
    out = in;
    for (char& c : out) c = static_cast<char>(c ^ 0x5A);
    return true;
  };
  TSafeIniFile(fs, std::string(kFile), TextEncoding::None, scramble, scramble).WriteString("S", "k", "secret");
  std::string plain;
  ASSERT_TRUE(scramble(*fs.Content(kFile), plain));
  EXPECT_EQ(plain, Utf16File("[S]\r\nk=secret\r\n\r\n"));
  TSafeIniFile again(fs, std::string(kFile), TextEncoding::None, scramble, scramble);
  EXPECT_EQ(again.ReadString("S", "k", ""), "secret");
}

// --- ReadIniValue -------------------------------------------------------------------

TEST(ReadIniValue, ValueOrOneAndNeverAWrite) {
  // The file (nullopt: none), whether another process holds it, and the value read.
  const std::tuple<const char*, std::optional<std::string>, bool, const char*> cases[] = {
      {"NoFile", std::nullopt, false, "1"}, {"NoKey", Utf16File("[Options]\r\nOther=0\r\n"), false, "1"},
      {"Present", Utf16File("[options]\r\nenabled=0\r\n"), false, "0"},
      {"Unreadable", Utf16File("[Options]\r\nEnabled=0\r\n"), true, "1"},
  };
  for (const auto& [name, bytes, unreadable, expected] : cases) {
    SCOPED_TRACE(name);
    FakeFileSystem fs;
    if (bytes) fs.AddFile(kFile, *bytes);
    if (unreadable) fs.SetUnreadable(kFile);
    EXPECT_EQ(ReadIniValue(fs, kFile, "Options", "Enabled"), expected);
    EXPECT_EQ(fs.TotalWriteCount(), 0);
    EXPECT_EQ(fs.Files().size(), bytes ? 1u : 0u);
  }
}

}  // namespace
}  // namespace bootmark
