// TSafeIniFile: loading by byte order mark, parsing rules, saving, failure
// handling (a file that could not be read is never overwritten automatically),
// the section cache and the typed value formats.
#include "common/safe_ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "base/text.h"
#include "common/ini_hashed_string_list.h"
#include "common/ini_value.h"
#include "fakes/fake_file_system.h"
#include "fakes/utf16_file.h"

namespace bootmark {
namespace {

using testing::Utf16File;

constexpr std::string_view kFile = "C:\\Data\\app.ini";

// The file's content decoded, or "<missing>".
std::string TextOf(FakeFileSystem& fs, std::string_view path) {
  const auto bytes = fs.Content(path);
  if (!bytes) return "<missing>";
  std::string text;
  EXPECT_TRUE(DecodeFileText(fs, *bytes, text));
  return text;
}

using Lines = std::vector<std::string>;

// --- Creation -----------------------------------------------------------------

class SafeIniFileTest : public ::testing::Test {
 protected:
  // Puts `bytes` at kFile and gives them back.
  std::string Add(std::string bytes) {
    fs.AddFile(kFile, bytes);
    return bytes;
  }
  FakeFileSystem fs;
};

TEST(SafeIniFileCreation, MissingFileIsCreatedWithItsFoldersAndOnlyTheByteOrderMark) {
  const struct {
    TextEncoding encoding;
    std::string_view bytes;
  } cases[] = {{TextEncoding::Utf16LE, "\xFF\xFE"}, {TextEncoding::Utf16BE, "\xFE\xFF"},
               {TextEncoding::Utf8, "\xEF\xBB\xBF"}, {TextEncoding::Ansi, ""}, {TextEncoding::None, ""}};
  const std::string path = "C:\\Users\\Ann\\AppData\\Tarvo\\Kestrune\\new.ini";
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.encoding));
    FakeFileSystem fs;
    {
      TSafeIniFile ini(fs, path, c.encoding);
      EXPECT_EQ(ini.LastError(), 0u);
      EXPECT_FALSE(ini.Modified());
      EXPECT_TRUE(ini.ReadSections().empty());
    }
    EXPECT_TRUE(fs.DirectoryExists("C:\\Users\\Ann\\AppData\\Tarvo\\Kestrune"));
    EXPECT_EQ(fs.Content(path), std::string(c.bytes));
    EXPECT_EQ(fs.WriteCount(path), 1) << "nothing but the creation is written";
  }
}

TEST_F(SafeIniFileTest, ExistingFileIsNeitherTruncatedNorRewritten) {
  const std::string bytes = Add(Utf16File("[A]\r\nk=v\r\n"));
  { TSafeIniFile ini(fs, std::string(kFile), TextEncoding::Utf16LE); }
  EXPECT_EQ(fs.Content(kFile), bytes);
  EXPECT_EQ(fs.WriteCount(kFile), 0);
}

TEST_F(SafeIniFileTest, NameWithoutFolderIsSavedInTheCurrentFolder) {
  fs.AddDirectory("C:\\Work");
  fs.SetCurrentDirectory("C:\\Work");
  TSafeIniFile(fs, "local.ini").WriteString("S", "k", "v");
  EXPECT_EQ(TextOf(fs, "C:\\Work\\local.ini"), "[S]\r\nk=v\r\n\r\n");
}

TEST_F(SafeIniFileTest, UnboundObjectNeverWrites) {
  {
    TSafeIniFile ini(fs);
    ini.WriteString("S", "k", "v");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
    ini.UpdateFile();
  }
  EXPECT_EQ(fs.TotalWriteCount(), 0);
}

// --- Loading ------------------------------------------------------------------

TEST(SafeIniFileLoad, TextIsDecodedByItsByteOrderMark) {
  const std::string text = "[Café]\r\nName=Zoë €5\r\nOther=x\r\n";
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"Utf16LE", Utf16File(text)}, {"Utf16BE", Utf16File(text, true)}, {"Utf8Bom", "\xEF\xBB\xBF" + text},
      // Windows-1252: E9 = é, EB = ë, 80 = €.
      {"Ansi", "[Caf\xE9]\r\nName=Zo\xEB \x80" "5\r\nOther=x\r\n"},
      {"AnsiWithoutFinalLineEnd", "[Caf\xE9]\nName=Zo\xEB \x80" "5\nOther=x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileSystem fs;
    fs.AddFile(kFile, c.bytes);
    TSafeIniFile ini(fs, std::string(kFile));
    EXPECT_EQ(ini.LastError(), 0u);
    EXPECT_EQ(ini.ReadString("Café", "Name", "?"), "Zoë €5");
    EXPECT_EQ(ini.ReadString("Café", "Other", "?"), "x");
  }
}

TEST(SafeIniFileLoad, ParsingRules) {
  const struct {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    const char* expected;  // "<default>" when the key must not be found
  } cases[] = {
      {"BlanksAroundKeyAndValue", "[S]\r\n\t key  =  v a l \t\r\n", "S", "key", "v a l"},
      {"ValueKeepsLaterEquals", "[S]\r\nk = a=b=c\r\n", "S", "k", "a=b=c"},
      {"EmptyValue", "[S]\r\nk=\r\n", "S", "k", ""},
      {"SectionNameTrimmed", "  [  Main  ]  \r\nk=1\r\n", "Main", "k", "1"},
      {"SectionCaseIgnored", "[Main]\r\nk=1\r\n", "mAIN", "k", "1"},
      {"KeyCaseIgnored", "[S]\r\nLastRun=5\r\n", "S", "LASTRUN", "5"},
      {"NonAsciiCaseIgnored", "[Größe]\r\nÄrger=ja\r\n", "GRÖßE", "ärger", "ja"},
      {"CommentSkipped", "[S]\r\n;k=commented\r\nk=real\r\n", "S", "k", "real"},
      {"IndentedCommentSkipped", "[S]\r\n   ;k=1\r\n", "S", "k", "<default>"},
      {"LinesBeforeFirstSectionDropped", "k=orphan\r\n[S]\r\n", "S", "k", "<default>"},
      {"FirstOfDuplicateKeysWins", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "1"},
      {"FirstOfDuplicateSectionsWins", "[S]\r\na=1\r\n[s]\r\nb=2\r\n", "S", "b", "<default>"},
      {"LfLineEnds", "[S]\nk=lf\n", "S", "k", "lf"}, {"CrLineEnds", "[S]\rk=cr\r", "S", "k", "cr"},
      {"EmptySectionName", "[]\r\nk=1\r\n", "", "k", "1"}, {"BracketInsideName", "[a]b]\r\nk=1\r\n", "a]b", "k", "1"},
      {"LineWithoutEqualsIsNoKey", "[S]\r\nflag\r\n", "S", "flag", "<default>"},
      {"LoneBracketIsALine", "[S]\r\n[\r\nk=1\r\n", "S", "k", "1"},
      {"MissingSection", "[S]\r\nk=1\r\n", "T", "k", "<default>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileSystem fs;
    fs.AddFile(kFile, Utf16File(c.text));
    TSafeIniFile ini(fs, std::string(kFile));
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected);
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
  EXPECT_EQ(TextOf(fs, kFile), std::string("[S]\r\nk=a\0b\r\nother=1\r\n\r\n", 23));
}

TEST_F(SafeIniFileTest, MegabyteLineRoundTrips) {
  const std::string value(1 << 20, 'x');
  Add(Utf16File("[S]\r\nbig=" + value + "\r\n"));
  {
    TSafeIniFile ini(fs, std::string(kFile));
    EXPECT_EQ(ini.ReadString("S", "big", "").size(), value.size());
    ini.WriteString("S", "k", "1");
  }
  EXPECT_EQ(TSafeIniFile(fs, std::string(kFile)).ReadString("S", "big", ""), value);
}

TEST_F(SafeIniFileTest, LoadFromFileReplacesContentWithoutBinding) {
  fs.AddFile("C:\\other.ini", Utf16File("[O]\r\nk=other\r\n"));
  TSafeIniFile ini(fs);
  ini.WriteString("Old", "k", "v");
  ini.LoadFromFile("C:\\other.ini");
  EXPECT_EQ(ini.ReadSections(), Lines{"O"});
  ini.LoadFromFile("C:\\missing.ini");
  EXPECT_EQ(ini.LastError(), 0u);
  EXPECT_TRUE(ini.ReadSections().empty());
  EXPECT_TRUE(ini.FileName().empty());
}

// --- Files that cannot be read ----------------------------------------------------

// The object stays empty and the file is never saved over automatically; only an
// explicit UpdateFile writes it, after moving what it held aside.
TEST(SafeIniFileUnreadable, ObjectIsEmptyAndAnExplicitUpdateKeepsTheOldBytesAside) {
  const std::string sideCopy = std::string(kFile) + ".unreadable";
  const struct {
    const char* name;
    std::string bytes;
    bool lockFile;  // the file is held open by another process
    std::uint32_t error;
  } cases[] = {
      {"SharingViolation", Utf16File("[S]\r\nk=old\r\n"), true, 32},
      {"OddUtf16ByteCount", Utf16File("[S]\r\nk=old\r\n") + "\x41", false, 1113},
      {"UnpairedHighSurrogate", Utf16File("[S]\r\nk=") + "\x3D\xD8" "a\0", false, 1113},
      {"UnpairedLowSurrogate", Utf16File("[S]\r\nk=", true) + "\xDC\x00", false, 1113},
      {"IllFormedUtf8", "\xEF\xBB\xBF[S]\r\nk=\xC3\x28\r\n", false, 1113},
      {"OverlongUtf8", "\xEF\xBB\xBF[S]\r\nk=\xC0\xAF\r\n", false, 1113},
      {"BinaryWithoutByteOrderMark", std::string("SQLite format 3\0\x10\0[S]\r\n", 23), false, 1113},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const bool update : {false, true}) {
      FakeFileSystem fs;
      fs.AddFile(kFile, c.bytes);
      fs.AddFile(sideCopy, "an older side copy");
      if (c.lockFile) fs.SetUnreadable(kFile);
      {
        TSafeIniFile ini(fs, std::string(kFile));
        EXPECT_EQ(ini.LastError(), c.error);
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
      EXPECT_EQ(fs.Content(kFile), update ? Utf16File("[S]\r\nk=newer\r\n\r\n") : c.bytes);
      EXPECT_EQ(fs.Content(sideCopy), update ? c.bytes : "an older side copy");
    }
  }
}

TEST(SafeIniFileUnreadable, NothingIsWrittenWhenTheFileCannotBeMovedAside) {
  const std::string bytes = Utf16File("[S]\r\nk=old\r\n") + "\x41";
  FakeFileSystem fs;
  fs.AddFile(kFile, bytes);
  fs.HoldOpenForWriting(kFile);
  TSafeIniFile ini(fs, std::string(kFile));
  ini.WriteString("S", "k", "new");
  ini.UpdateFile();
  EXPECT_EQ(ini.LastError(), 1u);
  EXPECT_EQ(fs.WriteCount(kFile), 0);
  EXPECT_EQ(fs.Content(kFile), bytes);
  EXPECT_FALSE(fs.FileExists(std::string(kFile) + ".unreadable"));
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

// --- Saving -------------------------------------------------------------------------

TEST_F(SafeIniFileTest, FileIsRewrittenInUtf16WithSectionsSeparatedByBlankLines) {
  Add("; comment\r\norphan=1\r\n[A]\r\n  k = v \r\nraw line\r\n\r\n[B]\r\n[a]\r\nx=1\r\n");
  TSafeIniFile(fs, std::string(kFile)).WriteString("B", "new", "2");
  EXPECT_EQ(fs.Content(kFile),
            Utf16File("[A]\r\nk=v\r\nraw line\r\n\r\n[B]\r\nnew=2\r\n\r\n[a]\r\nx=1\r\n\r\n"));
}

TEST_F(SafeIniFileTest, ReadOnlyHiddenFileIsUpdatedAndKeepsItsAttributes) {
  const std::uint32_t attributes = file_attr::kReadOnly | file_attr::kHidden | file_attr::kArchive;
  fs.AddFile(kFile, Utf16File("[S]\r\nk=old\r\n"), attributes);
  {
    TSafeIniFile ini(fs, std::string(kFile));
    ini.WriteString("S", "k", "new");
    ini.UpdateFile();
    EXPECT_EQ(ini.LastError(), 0u);
    EXPECT_FALSE(ini.Modified());
  }
  EXPECT_EQ(TextOf(fs, kFile), "[S]\r\nk=new\r\n\r\n");
  EXPECT_EQ(fs.GetAttributes(kFile), attributes);
}

TEST_F(SafeIniFileTest, FailedWriteLeavesThePreviousContentWhole) {
  const std::string bytes = Utf16File("[S]\r\nk=old\r\n");
  fs.AddFile(kFile, bytes, file_attr::kReadOnly);
  TSafeIniFile ini(fs, std::string(kFile));
  fs.SetWriteFails(kFile);
  ini.WriteString("S", "k", "new");
  ini.UpdateFile();
  EXPECT_EQ(ini.LastError(), 1u);
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(fs.Content(kFile), bytes);
  EXPECT_EQ(fs.GetAttributes(kFile), file_attr::kReadOnly);
}

TEST_F(SafeIniFileTest, FailedSaveFilterWritesNothing) {
  const std::string bytes = Add(Utf16File("[S]\r\nk=old\r\n"));
  {
    TSafeIniFile ini(fs, std::string(kFile), TextEncoding::None, {},
                     [](const std::string&, std::string&) { return false; });
    ini.WriteString("S", "k", "new");
    ini.UpdateFile();
    EXPECT_EQ(ini.LastError(), 1u);
  }
  EXPECT_EQ(fs.Content(kFile), bytes);
  EXPECT_EQ(fs.WriteCount(kFile), 0);
}

TEST_F(SafeIniFileTest, SaveCreatesTheFolderCreationCouldNot) {
  // Creation makes two rounds of 101 attempts (before and after loading); the
  // folder only becomes creatable afterwards.
  fs.FailCreateDirectory("C:\\Gone", 2 * 101);
  TSafeIniFile ini(fs, "C:\\Gone\\Deeper\\app.ini");
  ASSERT_FALSE(fs.DirectoryExists("C:\\Gone"));
  ini.WriteString("S", "k", "v");
  ini.UpdateFile();
  EXPECT_EQ(ini.LastError(), 0u);
  EXPECT_EQ(TextOf(fs, "C:\\Gone\\Deeper\\app.ini"), "[S]\r\nk=v\r\n\r\n");
}

TEST(SafeIniFileSave, DestructorSavesOnlyAfterAChange) {
  const struct {
    const char* name;
    void (*act)(TSafeIniFile&);
    bool saves;
  } cases[] = {
      {"ReadsOnly",
       [](TSafeIniFile& ini) {
         ini.ReadString("S", "k", "");
         ini.ReadSections();
         ini.ReadSectionValues("T");
       },
       false},
      {"WriteSameValue", [](TSafeIniFile& ini) { ini.WriteString("S", "k", "1"); }, true},
      {"DeleteExistingKey", [](TSafeIniFile& ini) { ini.DeleteKey("S", "K"); }, true},
      {"DeleteMissingKey", [](TSafeIniFile& ini) { ini.DeleteKey("S", "nope"); }, false},
      {"DeleteKeyOfMissingSection", [](TSafeIniFile& ini) { ini.DeleteKey("Nope", "k"); }, false},
      {"EraseSection", [](TSafeIniFile& ini) { ini.EraseSection("S"); }, false},
      {"Clear", [](TSafeIniFile& ini) { ini.Clear(); }, false},
  };
  const std::string bytes = Utf16File("[S]\r\nk=1\r\n[T]\r\nx=2\r\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileSystem fs;
    fs.AddFile(kFile, bytes);
    {
      TSafeIniFile ini(fs, std::string(kFile));
      c.act(ini);
      EXPECT_EQ(ini.Modified(), c.saves);
    }
    EXPECT_EQ(fs.WriteCount(kFile), c.saves ? 1 : 0);
    if (!c.saves) {
      EXPECT_EQ(fs.Content(kFile), bytes);
    }
  }
}

TEST_F(SafeIniFileTest, EraseAfterAWriteSavesWithoutTheSection) {
  Add(Utf16File("[S]\r\nk=1\r\n[T]\r\nx=2\r\n"));
  {
    TSafeIniFile ini(fs, std::string(kFile));
    ini.WriteString("T", "y", "3");
    ini.EraseSection("s");
  }
  EXPECT_EQ(TextOf(fs, kFile), "[T]\r\nx=2\r\ny=3\r\n\r\n");
}

// --- Writing --------------------------------------------------------------------

// The section cache compares names exactly, the look-up ignores case; a key is
// replaced in place, keeping the line order.
TEST_F(SafeIniFileTest, WritesReplaceTheExistingKeyInPlaceIgnoringCase) {
  TSafeIniFile ini(fs);
  ini.WriteString("Main", "a", "1");
  ini.WriteString("main", "b", "2");
  ini.WriteString("MAIN", "A", "3");
  EXPECT_EQ(ini.ReadSections(), Lines{"Main"});
  EXPECT_EQ(ini.ReadSectionValues("Main"), (Lines{"A=3", "b=2"}));
}

TEST_F(SafeIniFileTest, CacheStaysValidAfterEraseAndClear) {
  TSafeIniFile ini(fs);
  ini.WriteString("A", "k", "1");
  ini.WriteString("B", "k", "2");  // cached: B at position 1
  ini.EraseSection("A");           // B moves to position 0
  ini.WriteString("B", "k2", "3");
  EXPECT_EQ(ini.ReadSections(), Lines{"B"});
  EXPECT_EQ(ini.ReadSectionValues("B"), (Lines{"k=2", "k2=3"}));

  ini.EraseSection("B");  // the cached section itself
  ini.WriteString("B", "again", "4");
  EXPECT_EQ(ini.ReadSectionValues("B"), Lines{"again=4"});

  ini.Clear();
  ini.WriteString("B", "fresh", "5");
  EXPECT_EQ(ini.ReadSections(), Lines{"B"});
  EXPECT_EQ(ini.ReadSectionValues("B"), Lines{"fresh=5"});
}

TEST_F(SafeIniFileTest, EraseRemovesOnlyTheFirstOfDuplicateSections) {
  Add(Utf16File("[S]\r\na=1\r\n[S]\r\nb=2\r\n"));
  TSafeIniFile ini(fs, std::string(kFile));
  ini.EraseSection("s");
  EXPECT_EQ(ini.ReadSections(), Lines{"S"});
  EXPECT_EQ(ini.ReadString("S", "b", ""), "2");
}

TEST_F(SafeIniFileTest, AppendOnlyModeAddsLinesWithoutLookingForTheKey) {
  TSafeIniFile ini(fs);
  ini.SetAppendOnly(true);
  ini.WriteString("S", "k", "1");
  ini.WriteString("S", "k", "2");
  EXPECT_EQ(ini.ReadSectionValues("S"), (Lines{"k=1", "k=2"}));
  EXPECT_EQ(ini.ReadString("S", "k", ""), "1");
  ini.SetAppendOnly(false);
  ini.WriteString("S", "K", "3");
  EXPECT_EQ(ini.ReadSectionValues("S"), (Lines{"K=3", "k=2"}));
}

TEST_F(SafeIniFileTest, DeleteKeyKeepsLaterKeysFindable) {
  TSafeIniFile ini(fs);
  for (int i = 0; i < 10; ++i) ini.WriteInteger("S", "k" + std::to_string(i), i);
  ini.DeleteKey("S", "k3");
  EXPECT_FALSE(ini.ValueExists("S", "k3"));
  for (int i : {0, 2, 4, 9}) EXPECT_EQ(ini.ReadInteger("S", "k" + std::to_string(i), -1), i);
  ini.WriteString("S", "k9", "x");
  EXPECT_EQ(ini.ReadSection("S").size(), 9u);
}

// --- Value formats ----------------------------------------------------------------

// Integers are decimal or hexadecimal in 32 bits, else the default; a bool is
// any integer other than zero; floats take a point or a comma.
TEST_F(SafeIniFileTest, TypedReadsOfStoredText) {
  TSafeIniFile ini(fs);
  const std::pair<const char*, std::int32_t> integers[] = {
      {"42", 42}, {"-7", -7}, {"0x1F", 31}, {"0xFFFFFFFF", -1}, {"2147483647", 2147483647},
      {"2147483648", -99}, {"12abc", -99}, {"", -99}, {"0x", -99}};
  for (const auto& [text, expected] : integers) {
    ini.WriteString("S", "n", text);
    EXPECT_EQ(ini.ReadInteger("S", "n", -99), expected) << text;
  }
  const struct {
    const char* text;
    bool defaultValue, expected;
  } bools[] = {{"1", false, true},  {"0", true, false},     {"2", false, true},     {"-1", false, true},
               {"0x0", true, false}, {"true", false, false}, {"true", true, true}, {"", true, true}};
  for (const auto& c : bools) {
    ini.WriteString("S", "b", c.text);
    EXPECT_EQ(ini.ReadBool("S", "b", c.defaultValue), c.expected) << c.text << " " << c.defaultValue;
  }
  const std::pair<const char*, double> floats[] = {{"1.5", 1.5},         {"1,5", 1.5}, {"-2,25", -2.25},
                                                   {"45678.5", 45678.5}, {"3", 3.0},   {"", -1.0}};
  for (const auto& [text, expected] : floats) {
    ini.WriteString("S", "f", text);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "f", -1.0), expected) << text;
  }
  for (const char* text : {"abc", "1.5.5", "1,234.5", "1.5x"}) {
    ini.WriteString("S", "f", text);
    EXPECT_THROW(ini.ReadFloat("S", "f", 0.0), EConvertError) << text;
  }
}

TEST_F(SafeIniFileTest, WrittenFormsOfIntegersAndBools) {
  TSafeIniFile ini(fs);
  ini.WriteInteger("S", "i", -2147483647 - 1);
  ini.WriteBool("S", "t", true);
  ini.WriteBool("S", "f", false);
  EXPECT_EQ(ini.ReadSectionValues("S"), (Lines{"i=-2147483648", "t=1", "f=0"}));
}

TEST_F(SafeIniFileTest, DateTimeIsWrittenWithMillisecondsAndReadBack) {
  const DateTime when = *EncodeDateTime({2025, 3, 14, 8, 5, 9, 123});
  {
    TSafeIniFile ini(fs, std::string(kFile));
    ini.WriteDateTime("S", "when", when);
    EXPECT_EQ(ini.ReadString("S", "when", ""), "03/14/2025 08:05:09:123");
  }
  TSafeIniFile again(fs, std::string(kFile));
  EXPECT_EQ(DecodeDateTime(again.ReadDateTime("S", "when", 0)),
            (CalendarTime{2025, 3, 14, 8, 5, 9, 123}));
  again.WriteString("S", "bad", "14.03.2025");
  EXPECT_EQ(again.ReadDateTime("S", "bad", 7.0), 7.0);
  EXPECT_EQ(again.ReadDateTime("S", "missing", 8.0), 8.0);
}

// --- The section's line list ------------------------------------------------------

// The list's indexes are kept up to date in place; after any mix of operations a
// lookup must give what a plain scan from the top gives.
TEST(IniHashedStringList, IndexedLookupsAgreeWithAScanAfterEveryOperation) {
  const std::vector<std::string> names = {"a", "A", "b", "B", "\xC3\xA4", "\xC3\x84", "k"};
  std::mt19937 random(12345);
  auto pick = [&](std::size_t count) { return static_cast<int>(random() % count); };
  auto makeLine = [&]() -> std::string {
    if (pick(6) == 0) return "no equals " + std::to_string(pick(3));
    return names[static_cast<std::size_t>(pick(names.size()))] + "=" + std::to_string(pick(3));
  };
  auto scanName = [](const TIniHashedStringList& list, std::string_view name) {
    for (int i = 0; i < list.Count(); ++i) {
      std::string_view key, value;
      if (TIniHashedStringList::SplitLine(list[i], key, value) && SameText(key, name)) return i;
    }
    return TIniHashedStringList::kNotFound;
  };
  auto scanLine = [](const TIniHashedStringList& list, std::string_view line) {
    for (int i = 0; i < list.Count(); ++i) {
      if (SameText(list[i], line)) return i;
    }
    return TIniHashedStringList::kNotFound;
  };

  TIniHashedStringList list;
  for (int step = 0; step < 3000; ++step) {
    const int op = pick(10);
    if (op < 5 || list.Empty()) {
      list.Add(makeLine());
    } else if (op < 9) {
      list.Put(pick(static_cast<std::size_t>(list.Count())), makeLine());
    } else {
      list.Delete(pick(static_cast<std::size_t>(list.Count())));
    }
    for (const std::string& name : names) {
      ASSERT_EQ(list.IndexOfName(name), scanName(list, name)) << "step " << step << " " << name;
    }
    const std::string probe = makeLine();
    ASSERT_EQ(list.IndexOf(probe), scanLine(list, probe)) << "step " << step << " " << probe;
  }
}

// The table under the indexes: many distinct texts, so probe runs collide, grow
// and get shifted back on removal.
TEST(TextPositionIndex, FindsTheFirstPositionAfterInsertsAndRemovals) {
  std::mt19937 random(777);
  std::vector<std::optional<std::string>> texts;  // by position; nullopt: not indexed
  const auto textAt = [&texts](int i) -> std::string_view { return *texts[static_cast<std::size_t>(i)]; };
  const auto scan = [&texts](std::string_view text) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (texts[i] && SameText(*texts[i], text)) return static_cast<int>(i);
    }
    return TextPositionIndex::kNotFound;
  };
  const auto randomText = [&random] {
    const int n = static_cast<int>(random() % 400);
    return (n % 2 ? "Name" : "NAME") + std::to_string(n / 2);
  };
  TextPositionIndex index;
  for (int step = 0; step < 20000; ++step) {
    const auto position = static_cast<std::size_t>(random() % 600);
    if (position >= texts.size()) texts.resize(position + 1);
    std::optional<std::string>& slot = texts[position];
    if (slot) {
      index.Remove(*slot, static_cast<int>(position), textAt);
      slot.reset();
    } else {
      slot = randomText();
      index.Insert(*slot, static_cast<int>(position), textAt);
    }
    const std::string probe = randomText();
    ASSERT_EQ(index.Find(probe, textAt), scan(probe)) << "step " << step << " " << probe;
  }
}

TEST(IniHashedStringList, ManyEqualNamesStillFindTheFirst) {
  TIniHashedStringList list;
  for (int i = 0; i < 50000; ++i) list.Add("k=" + std::to_string(i));
  EXPECT_EQ(list.IndexOfName("K"), 0);
  list.Put(0, "other=1");
  EXPECT_EQ(list.IndexOfName("k"), 1);
  list.Put(0, "K=again");
  EXPECT_EQ(list.IndexOfName("k"), 0);
  EXPECT_EQ(list.IndexOf("k=49999"), 49999);
}

// --- ReadIniValue -------------------------------------------------------------------

TEST(ReadIniValue, ValueOrOneAndNeverAWrite) {
  const struct {
    const char* name;
    std::optional<std::string> bytes;  // nullopt: no file
    bool unreadable;
    const char* expected;
  } cases[] = {
      {"NoFile", std::nullopt, false, "1"}, {"NoKey", Utf16File("[Options]\r\nOther=0\r\n"), false, "1"},
      {"Present", Utf16File("[options]\r\nenabled=0\r\n"), false, "0"},
      {"Ansi", std::string("[Options]\r\nEnabled=yes\r\n"), false, "yes"},
      {"Unreadable", Utf16File("[Options]\r\nEnabled=0\r\n"), true, "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileSystem fs;
    if (c.bytes) fs.AddFile(kFile, *c.bytes);
    if (c.unreadable) fs.SetUnreadable(kFile);
    EXPECT_EQ(ReadIniValue(fs, kFile, "Options", "Enabled"), c.expected);
    EXPECT_EQ(fs.TotalWriteCount(), 0);
    EXPECT_EQ(fs.Files().size(), c.bytes ? 1u : 0u);
  }
}

}  // namespace
}  // namespace bootmark
