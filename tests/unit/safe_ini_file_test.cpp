// TSafeIniFile: loading by byte order mark, parsing rules, saving, failure
// handling (a file that could not be read is never overwritten automatically),
// the section cache and the typed value formats.
#include "common/safe_ini_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <optional>
#include <random>

#include "common/ini_hashed_string_list.h"
#include "common/ini_value.h"
#include "common/text.h"
#include "fakes/fake_file_system.h"

namespace bootmark {
namespace {

constexpr std::string_view kFile = "C:\\Data\\app.ini";

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

// The file's content decoded, or "<missing>".
std::string TextOf(FakeFileSystem& fs, std::string_view path) {
  const auto bytes = fs.Content(path);
  if (!bytes) return "<missing>";
  std::string text;
  EXPECT_TRUE(DecodeFileText(fs, *bytes, text));
  return text;
}

using Lines = std::vector<std::string>;

// Names parameterised cases after their `name` field.
struct CaseName {
  template <typename T>
  std::string operator()(const ::testing::TestParamInfo<T>& test) const {
    return test.param.name;
  }
};

// --- Creation -----------------------------------------------------------------

struct CreationCase {
  const char* name;
  TextEncoding encoding;
  std::string_view expectedBytes;
};

class CreationTest : public ::testing::TestWithParam<CreationCase> {};

TEST_P(CreationTest, MissingFileIsCreatedWithItsFoldersAndOnlyTheByteOrderMark) {
  FakeFileSystem fs;
  const std::string path = "C:\\Users\\Ann\\AppData\\Tarvo\\Kestrune\\new.ini";
  {
    TSafeIniFile ini(fs, path, GetParam().encoding);
    EXPECT_EQ(ini.LastError(), 0u);
    EXPECT_FALSE(ini.Modified());
    EXPECT_TRUE(ini.ReadSections().empty());
  }
  EXPECT_TRUE(fs.DirectoryExists("C:\\Users\\Ann\\AppData\\Tarvo\\Kestrune"));
  EXPECT_EQ(fs.Content(path), std::string(GetParam().expectedBytes));
  EXPECT_EQ(fs.WriteCount(path), 1) << "nothing but the creation is written";
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, CreationTest,
    ::testing::Values(CreationCase{"Utf16LE", TextEncoding::Utf16LE, "\xFF\xFE"},
                      CreationCase{"Utf16BE", TextEncoding::Utf16BE, "\xFE\xFF"},
                      CreationCase{"Utf8", TextEncoding::Utf8, "\xEF\xBB\xBF"},
                      CreationCase{"Ansi", TextEncoding::Ansi, ""},
                      CreationCase{"None", TextEncoding::None, ""}),
    CaseName());

TEST(SafeIniFileCreation, ExistingFileIsNeitherTruncatedNorRewritten) {
  FakeFileSystem fs;
  const std::string bytes = Utf16LE("[A]\r\nk=v\r\n");
  fs.AddFile(kFile, bytes);
  { TSafeIniFile ini(fs, std::string(kFile), TextEncoding::Utf16LE); }
  EXPECT_EQ(fs.Content(kFile), bytes);
  EXPECT_EQ(fs.WriteCount(kFile), 0);
}

TEST(SafeIniFileCreation, NameWithoutFolderIsSavedInTheCurrentFolder) {
  FakeFileSystem fs;
  fs.AddDirectory("C:\\Work");
  fs.SetCurrentDirectory("C:\\Work");
  {
    TSafeIniFile ini(fs, "local.ini");
    ini.WriteString("S", "k", "v");
  }
  EXPECT_EQ(TextOf(fs, "C:\\Work\\local.ini"), "[S]\r\nk=v\r\n\r\n");
}

TEST(SafeIniFileCreation, UnboundObjectNeverWrites) {
  FakeFileSystem fs;
  {
    TSafeIniFile ini(fs);
    ini.WriteString("S", "k", "v");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
    ini.UpdateFile();
  }
  EXPECT_EQ(fs.TotalWriteCount(), 0);
}

// --- Loading ------------------------------------------------------------------

struct EncodingCase {
  const char* name;
  std::string bytes;
};

class LoadEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(LoadEncodingTest, TextIsDecodedByItsByteOrderMark) {
  FakeFileSystem fs;
  fs.AddFile(kFile, GetParam().bytes);
  TSafeIniFile ini(fs, std::string(kFile));
  EXPECT_EQ(ini.LastError(), 0u);
  EXPECT_EQ(ini.ReadString("Café", "Name", "?"), "Zoë €5");
  EXPECT_EQ(ini.ReadString("Café", "Other", "?"), "x");
}

INSTANTIATE_TEST_SUITE_P(
    ByteOrderMarks, LoadEncodingTest,
    ::testing::Values(
        EncodingCase{"Utf16LE", Utf16LE("[Café]\r\nName=Zoë €5\r\nOther=x\r\n")},
        EncodingCase{"Utf16BE", Utf16BE("[Café]\r\nName=Zoë €5\r\nOther=x\r\n")},
        EncodingCase{"Utf8Bom", "\xEF\xBB\xBF[Café]\r\nName=Zoë €5\r\nOther=x\r\n"},
        // Windows-1252: E9 = é, EB = ë, 80 = €.
        EncodingCase{"Ansi", "[Caf\xE9]\r\nName=Zo\xEB \x80" "5\r\nOther=x\r\n"},
        EncodingCase{"AnsiWithoutFinalLineEnd", "[Caf\xE9]\nName=Zo\xEB \x80" "5\nOther=x"}),
    CaseName());

struct ParseCase {
  const char* name;
  const char* text;
  const char* section;
  const char* key;
  const char* expected;  // "<default>" when the key must not be found
};

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, Lookup) {
  FakeFileSystem fs;
  fs.AddFile(kFile, Utf16LE(GetParam().text));
  TSafeIniFile ini(fs, std::string(kFile));
  EXPECT_EQ(ini.ReadString(GetParam().section, GetParam().key, "<default>"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ParseTest,
    ::testing::Values(
        ParseCase{"BlanksAroundKeyAndValue", "[S]\r\n\t key  =  v a l \t\r\n", "S", "key", "v a l"},
        ParseCase{"ValueKeepsLaterEquals", "[S]\r\nk = a=b=c\r\n", "S", "k", "a=b=c"},
        ParseCase{"EmptyValue", "[S]\r\nk=\r\n", "S", "k", ""},
        ParseCase{"SectionNameTrimmed", "  [  Main  ]  \r\nk=1\r\n", "Main", "k", "1"},
        ParseCase{"SectionCaseIgnored", "[Main]\r\nk=1\r\n", "mAIN", "k", "1"},
        ParseCase{"KeyCaseIgnored", "[S]\r\nLastRun=5\r\n", "S", "LASTRUN", "5"},
        ParseCase{"NonAsciiCaseIgnored", "[Größe]\r\nÄrger=ja\r\n", "GRÖßE", "ärger", "ja"},
        ParseCase{"CommentSkipped", "[S]\r\n;k=commented\r\nk=real\r\n", "S", "k", "real"},
        ParseCase{"IndentedCommentSkipped", "[S]\r\n   ;k=1\r\n", "S", "k", "<default>"},
        ParseCase{"LinesBeforeFirstSectionDropped", "k=orphan\r\n[S]\r\n", "S", "k", "<default>"},
        ParseCase{"FirstOfDuplicateKeysWins", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "1"},
        ParseCase{"FirstOfDuplicateSectionsWins", "[S]\r\na=1\r\n[s]\r\nb=2\r\n", "S", "b",
                  "<default>"},
        ParseCase{"LfLineEnds", "[S]\nk=lf\n", "S", "k", "lf"},
        ParseCase{"CrLineEnds", "[S]\rk=cr\r", "S", "k", "cr"},
        ParseCase{"EmptySectionName", "[]\r\nk=1\r\n", "", "k", "1"},
        ParseCase{"BracketInsideName", "[a]b]\r\nk=1\r\n", "a]b", "k", "1"},
        ParseCase{"LineWithoutEqualsIsNoKey", "[S]\r\nflag\r\n", "S", "flag", "<default>"},
        ParseCase{"LoneBracketIsALine", "[S]\r\n[\r\nk=1\r\n", "S", "k", "1"},
        ParseCase{"MissingSection", "[S]\r\nk=1\r\n", "T", "k", "<default>"}),
    CaseName());

TEST(SafeIniFileLoad, SectionListsKeepFileOrderAndDuplicates) {
  FakeFileSystem fs;
  fs.AddFile(kFile, Utf16LE("[B]\r\nz=1\r\nraw text\r\ny=2\r\n[A]\r\n[b]\r\nx=3\r\n"));
  TSafeIniFile ini(fs, std::string(kFile));
  EXPECT_EQ(ini.ReadSections(), (Lines{"B", "A", "b"}));
  EXPECT_EQ(ini.ReadSection("b"), (Lines{"z", "y"}));
  EXPECT_EQ(ini.ReadSectionValues("B"), (Lines{"z=1", "raw text", "y=2"}));
  EXPECT_TRUE(ini.SectionExists("a"));
  EXPECT_TRUE(ini.ValueExists("B", "Y"));
  EXPECT_FALSE(ini.ValueExists("B", "raw text"));
}

TEST(SafeIniFileLoad, NulUnitsSurviveLoadAndSave) {
  FakeFileSystem fs;
  const std::string text("[S]\r\nk=a\0b\r\n\r\n", 14);
  fs.AddFile(kFile, Utf16LE(text));
  {
    TSafeIniFile ini(fs, std::string(kFile));
    EXPECT_EQ(ini.ReadString("S", "k", ""), std::string("a\0b", 3));
    ini.WriteString("S", "other", "1");
  }
  EXPECT_EQ(TextOf(fs, kFile), std::string("[S]\r\nk=a\0b\r\nother=1\r\n\r\n", 23));
}

TEST(SafeIniFileLoad, MegabyteLineRoundTrips) {
  FakeFileSystem fs;
  const std::string value(1 << 20, 'x');
  fs.AddFile(kFile, Utf16LE("[S]\r\nbig=" + value + "\r\n"));
  {
    TSafeIniFile ini(fs, std::string(kFile));
    EXPECT_EQ(ini.ReadString("S", "big", "").size(), value.size());
    ini.WriteString("S", "k", "1");
  }
  TSafeIniFile again(fs, std::string(kFile));
  EXPECT_EQ(again.ReadString("S", "big", ""), value);
}

TEST(SafeIniFileLoad, LoadFromFileReplacesContentWithoutBinding) {
  FakeFileSystem fs;
  fs.AddFile("C:\\other.ini", Utf16LE("[O]\r\nk=other\r\n"));
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

struct UnreadableCase {
  const char* name;
  std::string bytes;
  bool lockFile;  // the file is held open by another process
  std::uint32_t expectedError;
};

class UnreadableTest : public ::testing::TestWithParam<UnreadableCase> {
 protected:
  void SetUp() override {
    fs.AddFile(kFile, GetParam().bytes);
    if (GetParam().lockFile) fs.SetUnreadable(kFile);
  }
  FakeFileSystem fs;
};

TEST_P(UnreadableTest, ObjectIsEmptyAndTheFileIsNeverSavedOverAutomatically) {
  {
    TSafeIniFile ini(fs, std::string(kFile));
    EXPECT_EQ(ini.LastError(), GetParam().expectedError);
    EXPECT_TRUE(ini.NoAutoSave());
    EXPECT_TRUE(ini.ReadSections().empty());
    ini.WriteString("S", "k", "new");
    ini.DeleteKey("S", "k");
    ini.WriteInteger("T", "n", 5);
  }
  EXPECT_EQ(fs.Content(kFile), GetParam().bytes);
  EXPECT_EQ(fs.WriteCount(kFile), 0);
}

TEST_P(UnreadableTest, ExplicitUpdateFileStillWrites) {
  {
    TSafeIniFile ini(fs, std::string(kFile));
    ini.WriteString("S", "k", "new");
    ini.UpdateFile();
  }
  EXPECT_EQ(fs.WriteCount(kFile), 1) << "the explicit save only, none on destruction";
  EXPECT_EQ(fs.Content(kFile), Utf16LE("[S]\r\nk=new\r\n\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, UnreadableTest,
    ::testing::Values(
        UnreadableCase{"SharingViolation", Utf16LE("[S]\r\nk=old\r\n"), true, 32},
        UnreadableCase{"OddUtf16ByteCount", Utf16LE("[S]\r\nk=old\r\n") + "\x41", false, 1113},
        UnreadableCase{"UnpairedHighSurrogate", Utf16LE("[S]\r\nk=") + "\x3D\xD8" "a\0", false,
                       1113},
        UnreadableCase{"UnpairedLowSurrogate", Utf16BE("[S]\r\nk=") + "\xDC\x00", false, 1113},
        UnreadableCase{"IllFormedUtf8", "\xEF\xBB\xBF[S]\r\nk=\xC3\x28\r\n", false, 1113},
        UnreadableCase{"OverlongUtf8", "\xEF\xBB\xBF[S]\r\nk=\xC0\xAF\r\n", false, 1113}),
    CaseName());

TEST(SafeIniFileFilters, FailingLoadFilterCountsAsUnreadable) {
  FakeFileSystem fs;
  const std::string bytes = Utf16LE("[S]\r\nk=old\r\n");
  fs.AddFile(kFile, bytes);
  {
    TSafeIniFile ini(fs, std::string(kFile), TextEncoding::None,
                     [](const std::string&, std::string&) { return false; });
    EXPECT_EQ(ini.LastError(), 1u);
    ini.WriteString("S", "k", "new");
  }
  EXPECT_EQ(fs.Content(kFile), bytes);
}

TEST(SafeIniFileFilters, BytesPassThroughTheFiltersBothWays) {
  const auto scramble = [](const std::string& in, std::string& out) {
    out = in;
    for (char& c : out) c = static_cast<char>(c ^ 0x5A);
    return true;
  };
  FakeFileSystem fs;
  {
    TSafeIniFile ini(fs, std::string(kFile), TextEncoding::None, scramble, scramble);
    ini.WriteString("S", "k", "secret");
  }
  std::string plain;
  ASSERT_TRUE(scramble(*fs.Content(kFile), plain));
  EXPECT_EQ(plain, Utf16LE("[S]\r\nk=secret\r\n\r\n"));
  TSafeIniFile again(fs, std::string(kFile), TextEncoding::None, scramble, scramble);
  EXPECT_EQ(again.ReadString("S", "k", ""), "secret");
}

// --- Saving -------------------------------------------------------------------------

TEST(SafeIniFileSave, FileIsRewrittenInUtf16WithSectionsSeparatedByBlankLines) {
  FakeFileSystem fs;
  fs.AddFile(kFile,
             "; comment\r\norphan=1\r\n[A]\r\n  k = v \r\nraw line\r\n\r\n[B]\r\n[a]\r\nx=1\r\n");
  {
    TSafeIniFile ini(fs, std::string(kFile));
    ini.WriteString("B", "new", "2");
  }
  EXPECT_EQ(fs.Content(kFile),
            Utf16LE("[A]\r\nk=v\r\nraw line\r\n\r\n[B]\r\nnew=2\r\n\r\n[a]\r\nx=1\r\n\r\n"));
}

TEST(SafeIniFileSave, ReadOnlyHiddenFileIsUpdatedAndKeepsItsAttributes) {
  FakeFileSystem fs;
  const std::uint32_t attributes = file_attr::kReadOnly | file_attr::kHidden | file_attr::kArchive;
  fs.AddFile(kFile, Utf16LE("[S]\r\nk=old\r\n"), attributes);
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

TEST(SafeIniFileSave, FailedWriteLeavesThePreviousContentWhole) {
  FakeFileSystem fs;
  const std::string bytes = Utf16LE("[S]\r\nk=old\r\n");
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

TEST(SafeIniFileSave, FailedSaveFilterWritesNothing) {
  FakeFileSystem fs;
  const std::string bytes = Utf16LE("[S]\r\nk=old\r\n");
  fs.AddFile(kFile, bytes);
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

TEST(SafeIniFileSave, SaveCreatesTheFolderCreationCouldNot) {
  FakeFileSystem fs;
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

// Which operations make the destructor save.
struct ModifiedCase {
  const char* name;
  void (*act)(TSafeIniFile&);
  bool saves;
};

class ModifiedTest : public ::testing::TestWithParam<ModifiedCase> {};

TEST_P(ModifiedTest, DestructorSavesOnlyAfterAChange) {
  FakeFileSystem fs;
  const std::string bytes = Utf16LE("[S]\r\nk=1\r\n[T]\r\nx=2\r\n");
  fs.AddFile(kFile, bytes);
  {
    TSafeIniFile ini(fs, std::string(kFile));
    GetParam().act(ini);
    EXPECT_EQ(ini.Modified(), GetParam().saves);
  }
  EXPECT_EQ(fs.WriteCount(kFile), GetParam().saves ? 1 : 0);
  if (!GetParam().saves) {
    EXPECT_EQ(fs.Content(kFile), bytes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ModifiedTest,
    ::testing::Values(
        ModifiedCase{"ReadsOnly",
                     [](TSafeIniFile& ini) {
                       ini.ReadString("S", "k", "");
                       ini.ReadSections();
                       ini.ReadSectionValues("T");
                     },
                     false},
        ModifiedCase{"WriteSameValue", [](TSafeIniFile& ini) { ini.WriteString("S", "k", "1"); },
                     true},
        ModifiedCase{"DeleteExistingKey", [](TSafeIniFile& ini) { ini.DeleteKey("S", "K"); },
                     true},
        ModifiedCase{"DeleteMissingKey", [](TSafeIniFile& ini) { ini.DeleteKey("S", "nope"); },
                     false},
        ModifiedCase{"DeleteKeyOfMissingSection",
                     [](TSafeIniFile& ini) { ini.DeleteKey("Nope", "k"); }, false},
        ModifiedCase{"EraseSection", [](TSafeIniFile& ini) { ini.EraseSection("S"); }, false},
        ModifiedCase{"Clear", [](TSafeIniFile& ini) { ini.Clear(); }, false}),
    CaseName());

TEST(SafeIniFileSave, EraseAfterAWriteSavesWithoutTheSection) {
  FakeFileSystem fs;
  fs.AddFile(kFile, Utf16LE("[S]\r\nk=1\r\n[T]\r\nx=2\r\n"));
  {
    TSafeIniFile ini(fs, std::string(kFile));
    ini.WriteString("T", "y", "3");
    ini.EraseSection("s");
  }
  EXPECT_EQ(TextOf(fs, kFile), "[T]\r\nx=2\r\ny=3\r\n\r\n");
}

// --- Writing --------------------------------------------------------------------

TEST(SafeIniFileWrite, ReplacesTheExistingKeyInPlaceKeepingLineOrder) {
  FakeFileSystem fs;
  TSafeIniFile ini(fs);
  ini.WriteString("S", "a", "1");
  ini.WriteString("S", "b", "2");
  ini.WriteString("S", "A", "3");
  EXPECT_EQ(ini.ReadSectionValues("S"), (Lines{"A=3", "b=2"}));
}

TEST(SafeIniFileWrite, SectionCacheComparesExactlyButLookupIgnoresCase) {
  FakeFileSystem fs;
  TSafeIniFile ini(fs);
  ini.WriteString("Main", "a", "1");
  ini.WriteString("main", "b", "2");
  ini.WriteString("MAIN", "a", "3");
  EXPECT_EQ(ini.ReadSections(), Lines{"Main"});
  EXPECT_EQ(ini.ReadSectionValues("Main"), (Lines{"a=3", "b=2"}));
}

TEST(SafeIniFileWrite, CacheStaysValidAfterEraseAndClear) {
  FakeFileSystem fs;
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

TEST(SafeIniFileWrite, EraseRemovesOnlyTheFirstOfDuplicateSections) {
  FakeFileSystem fs;
  fs.AddFile(kFile, Utf16LE("[S]\r\na=1\r\n[S]\r\nb=2\r\n"));
  TSafeIniFile ini(fs, std::string(kFile));
  ini.EraseSection("s");
  EXPECT_EQ(ini.ReadSections(), Lines{"S"});
  EXPECT_EQ(ini.ReadString("S", "b", ""), "2");
}

TEST(SafeIniFileWrite, AppendOnlyModeAddsLinesWithoutLookingForTheKey) {
  FakeFileSystem fs;
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

TEST(SafeIniFileWrite, DeleteKeyKeepsLaterKeysFindable) {
  FakeFileSystem fs;
  TSafeIniFile ini(fs);
  for (int i = 0; i < 10; ++i) ini.WriteInteger("S", "k" + std::to_string(i), i);
  ini.DeleteKey("S", "k3");
  EXPECT_FALSE(ini.ValueExists("S", "k3"));
  for (int i : {0, 2, 4, 9}) EXPECT_EQ(ini.ReadInteger("S", "k" + std::to_string(i), -1), i);
  ini.WriteString("S", "k9", "x");
  EXPECT_EQ(ini.ReadSection("S").size(), 9u);
}

// --- Value formats ----------------------------------------------------------------

struct IntegerCase {
  const char* text;
  std::int32_t expected;
};

class ReadIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ReadIntegerTest, DecimalOrHexadecimalElseDefault) {
  FakeFileSystem fs;
  TSafeIniFile ini(fs);
  ini.WriteString("S", "n", GetParam().text);
  EXPECT_EQ(ini.ReadInteger("S", "n", -99), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ReadIntegerTest,
                         ::testing::Values(IntegerCase{"42", 42}, IntegerCase{"-7", -7},
                                           IntegerCase{"0x1F", 31}, IntegerCase{"0xFFFFFFFF", -1},
                                           IntegerCase{"2147483647", 2147483647},
                                           IntegerCase{"2147483648", -99},
                                           IntegerCase{"12abc", -99}, IntegerCase{"", -99},
                                           IntegerCase{"0x", -99}));

struct BoolCase {
  const char* text;
  bool defaultValue;
  bool expected;
};

class ReadBoolTest : public ::testing::TestWithParam<BoolCase> {};

TEST_P(ReadBoolTest, AnyIntegerOtherThanZeroIsTrue) {
  FakeFileSystem fs;
  TSafeIniFile ini(fs);
  ini.WriteString("S", "b", GetParam().text);
  EXPECT_EQ(ini.ReadBool("S", "b", GetParam().defaultValue), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ReadBoolTest,
                         ::testing::Values(BoolCase{"1", false, true}, BoolCase{"0", true, false},
                                           BoolCase{"2", false, true}, BoolCase{"-1", false, true},
                                           BoolCase{"0x0", true, false},
                                           BoolCase{"true", false, false},
                                           BoolCase{"true", true, true}, BoolCase{"", true, true}));

struct FloatCase {
  const char* text;
  double expected;
};

class ReadFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(ReadFloatTest, PointOrCommaSeparator) {
  FakeFileSystem fs;
  TSafeIniFile ini(fs);
  ini.WriteString("S", "f", GetParam().text);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "f", -1.0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ReadFloatTest,
                         ::testing::Values(FloatCase{"1.5", 1.5}, FloatCase{"1,5", 1.5},
                                           FloatCase{"-2,25", -2.25}, FloatCase{"45678.5", 45678.5},
                                           FloatCase{"3", 3.0}, FloatCase{"", -1.0}));

TEST(SafeIniFileValues, FloatThatIsNotANumberRaisesAConversionError) {
  FakeFileSystem fs;
  TSafeIniFile ini(fs);
  for (const char* text : {"abc", "1.5.5", "1,234.5", "1.5x"}) {
    ini.WriteString("S", "f", text);
    EXPECT_THROW(ini.ReadFloat("S", "f", 0.0), EConvertError) << text;
  }
}

// A locale whose decimal separator is ",": the C++ one always, the C one when
// the machine has such a locale installed.
class CommaLocale {
 public:
  CommaLocale() : previous_(std::locale::global(std::locale(std::locale::classic(), new Comma))) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    previousC_ = old != nullptr ? old : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
      if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
    }
  }
  ~CommaLocale() {
    std::setlocale(LC_NUMERIC, previousC_.c_str());
    std::locale::global(previous_);
  }

 private:
  struct Comma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  std::locale previous_;
  std::string previousC_;
};

TEST(SafeIniFileValues, FloatsUseAPointWhateverTheLocale) {
  CommaLocale comma;
  FakeFileSystem fs;
  TSafeIniFile ini(fs);
  ini.WriteFloat("S", "f", 1.5);
  ini.WriteFloat("S", "g", -0.25);
  EXPECT_EQ(ini.ReadString("S", "f", ""), "1.5");
  EXPECT_EQ(ini.ReadString("S", "g", ""), "-0.25");
  ini.WriteString("S", "h", "1,5");
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "h", 0), 1.5);
}

TEST(SafeIniFileValues, WrittenFormsOfIntegersAndBools) {
  FakeFileSystem fs;
  TSafeIniFile ini(fs);
  ini.WriteInteger("S", "i", -2147483647 - 1);
  ini.WriteBool("S", "t", true);
  ini.WriteBool("S", "f", false);
  EXPECT_EQ(ini.ReadSectionValues("S"), (Lines{"i=-2147483648", "t=1", "f=0"}));
}

TEST(SafeIniFileValues, DateTimeIsWrittenWithMillisecondsAndReadBack) {
  FakeFileSystem fs;
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

struct ReadIniValueCase {
  const char* name;
  std::optional<std::string> bytes;  // nullopt: no file
  bool unreadable;
  const char* expected;
};

class ReadIniValueTest : public ::testing::TestWithParam<ReadIniValueCase> {};

TEST_P(ReadIniValueTest, ValueOrOneAndNeverAWrite) {
  FakeFileSystem fs;
  if (GetParam().bytes) fs.AddFile(kFile, *GetParam().bytes);
  if (GetParam().unreadable) fs.SetUnreadable(kFile);
  EXPECT_EQ(ReadIniValue(fs, kFile, "Options", "Enabled"), GetParam().expected);
  EXPECT_EQ(fs.TotalWriteCount(), 0);
  EXPECT_EQ(fs.Files().size(), GetParam().bytes ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadIniValueTest,
    ::testing::Values(
        ReadIniValueCase{"NoFile", std::nullopt, false, "1"},
        ReadIniValueCase{"NoKey", Utf16LE("[Options]\r\nOther=0\r\n"), false, "1"},
        ReadIniValueCase{"Present", Utf16LE("[options]\r\nenabled=0\r\n"), false, "0"},
        ReadIniValueCase{"Ansi", std::string("[Options]\r\nEnabled=yes\r\n"), false, "yes"},
        ReadIniValueCase{"Unreadable", Utf16LE("[Options]\r\nEnabled=0\r\n"), true, "1"}),
    CaseName());

}  // namespace
}  // namespace bootmark
