// TSafeIniFile: saving (encoding, attributes, failures, the destructor), writing
// through the section cache, and the typed value formats.
#include "common/safe_ini_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <tuple>

#include "base/text.h"
#include "unit/safe_ini_test_support.h"

namespace bootmark {
namespace {

using namespace safe_ini_test;

// --- Saving -------------------------------------------------------------------------

TEST_F(SafeIniFileTest, FileIsRewrittenInUtf16WithSectionsSeparatedByBlankLines) {
  Add("; comment\r\norphan=1\r\n[A]\r\n  k = v \r\nraw line\r\n\r\n[B]\r\n[a]\r\nx=1\r\n");
  TSafeIniFile(fs, std::string(kFile)).WriteString("B", "new", "2");
  EXPECT_EQ(fs.Content(kFile),
            Utf16File("[A]\r\nk=v\r\nraw line\r\n\r\n[B]\r\nnew=2\r\n\r\n[a]\r\nx=1\r\n\r\n"));
}

// A read-only, hidden file is updated and keeps its attributes; a failed write leaves
// the previous content whole.
TEST(SafeIniFileSave, ReadOnlyHiddenFileIsUpdatedOrLeftWholeAndKeepsItsAttributes) {
  const std::uint32_t attributes = file_attr::kReadOnly | file_attr::kHidden | file_attr::kArchive;
  for (const bool writeFails : {false, true}) {
    SCOPED_TRACE(writeFails);
    FakeFileSystem fs;
    fs.AddFile(kFile, Utf16File("[S]\r\nk=old\r\n"), attributes);
    TSafeIniFile ini(fs, std::string(kFile));
    fs.SetWriteFails(kFile, writeFails);
    ini.WriteString("S", "k", "new");
    ini.UpdateFile();
    EXPECT_EQ(ini.LastError(), writeFails ? 1u : 0u);
    EXPECT_EQ(ini.Modified(), writeFails);
    EXPECT_EQ(fs.Text(kFile), writeFails ? "[S]\r\nk=old\r\n" : "[S]\r\nk=new\r\n\r\n");
    EXPECT_EQ(fs.GetAttributes(kFile), attributes);
  }
}

// A save filter that refuses or throws: the file stays as it was, never half written.
TEST_F(SafeIniFileTest, FailedSaveFilterWritesNothing) {
  const std::string bytes = Add(Utf16File("[S]\r\nk=old\r\n"));
  const StreamFilter failing[] = {[](const std::string&, std::string&) { return false; },
                                  [](const std::string&, std::string&) -> bool { throw std::runtime_error("x"); }};
  for (const StreamFilter& filter : failing) {
    {
      TSafeIniFile ini(fs, std::string(kFile), TextEncoding::None, {}, filter);
      ini.WriteString("S", "k", "new");
      ini.UpdateFile();
      EXPECT_EQ(ini.LastError(), 1u);
    }
    EXPECT_EQ(fs.Content(kFile), bytes);
    EXPECT_EQ(fs.WriteCount(kFile), 0);
  }
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
  EXPECT_EQ(fs.Text("C:\\Gone\\Deeper\\app.ini"), "[S]\r\nk=v\r\n\r\n");
}

TEST(SafeIniFileSave, DestructorSavesOnlyAfterAChange) {
  // What is done, and whether it counts as a change that the destructor saves.
  const std::tuple<const char*, void (*)(TSafeIniFile&), bool> cases[] = {
      {"ReadsOnly", [](TSafeIniFile& ini) { ini.ReadSectionValues("T"); }, false},
      {"WriteSameValue", [](TSafeIniFile& ini) { ini.WriteString("S", "k", "1"); }, true},
      {"DeleteExistingKey", [](TSafeIniFile& ini) { ini.DeleteKey("S", "K"); }, true},
      {"DeleteMissingKey", [](TSafeIniFile& ini) { ini.DeleteKey("S", "nope"); }, false},
      {"EraseSection", [](TSafeIniFile& ini) { ini.EraseSection("S"); }, false},
      {"Clear", [](TSafeIniFile& ini) { ini.Clear(); }, false},
  };
  const std::string bytes = Utf16File("[S]\r\nk=1\r\n[T]\r\nx=2\r\n");
  for (const auto& [name, act, saves] : cases) {
    SCOPED_TRACE(name);
    FakeFileSystem fs;
    fs.AddFile(kFile, bytes);
    {
      TSafeIniFile ini(fs, std::string(kFile));
      act(ini);
      EXPECT_EQ(ini.Modified(), saves);
    }
    EXPECT_EQ(fs.WriteCount(kFile), saves ? 1 : 0);
    if (!saves) {
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
  EXPECT_EQ(fs.Text(kFile), "[T]\r\nx=2\r\ny=3\r\n\r\n");
}

// --- Writing --------------------------------------------------------------------

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

// A key is replaced in place, keeping the line order; the section cache compares
// names exactly, the look-up ignores case.
TEST_F(SafeIniFileTest, WritesReplaceTheExistingKeyInPlaceIgnoringCase) {
  TSafeIniFile ini(fs);
  ini.WriteString("Main", "a", "1");
  ini.WriteString("main", "b", "2");
  ini.WriteString("MAIN", "A", "3");
  EXPECT_EQ(ini.ReadSections(), Lines{"Main"});
  EXPECT_EQ(ini.ReadSectionValues("Main"), (Lines{"A=3", "b=2"}));
}

// --- Value formats ----------------------------------------------------------------

// Stored text is trimmed and read with the number rules of the text functions:
// integers in 32 bits, else the default; a bool is any integer other than zero.
TEST_F(SafeIniFileTest, TypedValuesAndTheirWrittenForms) {
  TSafeIniFile ini(fs, std::string(kFile));
  const std::pair<const char*, std::int32_t> integers[] = {{" 0x1F ", 31}, {"2147483648", -99}};
  for (const auto& [text, expected] : integers) {
    ini.WriteString("S", "n", text);
    EXPECT_EQ(ini.ReadInteger("S", "n", -99), expected) << text;
  }
  const struct {
    const char* text;
    bool defaultValue, expected;
  } bools[] = {{"2", false, true}, {"0", true, false}, {"true", false, false}, {"true", true, true}, {"", true, true}};
  for (const auto& c : bools) {
    ini.WriteString("S", "b", c.text);
    EXPECT_EQ(ini.ReadBool("S", "b", c.defaultValue), c.expected) << c.text << " " << c.defaultValue;
  }
  ini.WriteInteger("W", "i", -2147483647 - 1);
  ini.WriteBool("W", "t", true);
  ini.WriteBool("W", "f", false);
  // Floats take a point or a comma; anything else that is not a number throws.
  const std::pair<const char*, double> floats[] = {{" -2,25 ", -2.25}, {"45678.5", 45678.5}, {"", -1.0}};
  for (const auto& [text, expected] : floats) {
    ini.WriteString("S", "f", text);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "f", -1.0), expected) << text;
  }
  for (const char* text : {"abc", "1,234.5"}) {
    ini.WriteString("S", "f", text);
    EXPECT_THROW(ini.ReadFloat("S", "f", 0.0), EConvertError) << text;
  }
  const DateTime when = *EncodeDateTime({2025, 3, 14, 8, 5, 9, 123});
  ini.WriteFloat("W", "x", -2.5e-7);
  ini.WriteDateTime("W", "when", when);
  EXPECT_EQ(ini.ReadSectionValues("W"),
            (Lines{"i=-2147483648", "t=1", "f=0", "x=-2.5E-7", "when=03/14/2025 08:05:09:123"}));
  ini.UpdateFile();
  TSafeIniFile again(fs, std::string(kFile));
  EXPECT_EQ(DecodeDateTime(again.ReadDateTime("W", "when", 0)), (CalendarTime{2025, 3, 14, 8, 5, 9, 123}));
  again.WriteString("W", "bad", "14.03.2025");
  EXPECT_EQ(again.ReadDateTime("W", "bad", 7.0), 7.0);
  EXPECT_EQ(again.ReadDateTime("W", "missing", 8.0), 8.0);
}

// Two runs changing the same file: the second waits until the first has saved
// and closed it, and so keeps the first one's section.
TEST_F(SafeIniFileTest, SecondWriterWaitsForTheFirstAndKeepsItsSection) {
  auto first = std::make_unique<TSafeIniFile>(fs, std::string(kFile));
  first->WriteString("First", "key", "1");
  std::thread second([this] {
    TSafeIniFile ini(fs, std::string(kFile));
    ini.WriteString("Second", "key", "2");
    ini.UpdateFile();
  });
  // Time for the second writer to try its load while the first holds the file.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  first->UpdateFile();
  first.reset();
  second.join();
  EXPECT_EQ(fs.Text(kFile), "[First]\r\nkey=1\r\n\r\n[Second]\r\nkey=2\r\n\r\n");
}

}  // namespace
}  // namespace bootmark
