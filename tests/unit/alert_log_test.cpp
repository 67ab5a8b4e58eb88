#include "alert/alert_log.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ports.h"
#include "fakes/utf16_file.h"

namespace bootmark {
namespace {

using testing::FakeClock;
using testing::FakeEnvironment;

constexpr const char* kLog = "C:\\ProgramData\\Tarvo\\Kestrune\\Bootmark\\smAutoRun.log";
// 2025-03-14 08:05:09.123 local time.
constexpr DateTime kNow = 45730.0 + (8 * 3600 + 5 * 60 + 9.123) / 86400.0;
constexpr const char* kLinePrefix = "2025-03-14 08:05:09 123 Bootmark.exe ";

std::string Utf16File(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return testing::Utf16File(text);
}

std::vector<std::string> Numbered(std::size_t count) {
  std::vector<std::string> lines;
  lines.reserve(count);
  for (std::size_t i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

class AlertLogTest : public ::testing::Test {
 protected:
  AlertLogTest() {
    files.AddDirectory("C:\\ProgramData");
    clock.now = kNow;
  }

  void Append(std::string_view text) { AppendAlertLog(files, clock, environment, text, kLog); }

  // The log's lines as saved; fails the test unless it is UTF-16 LE with byte order
  // mark and every line ends with CR LF (and no CR or LF stands alone).
  std::vector<std::string> Lines() {
    const std::string bytes = files.Content(kLog).value_or("");
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::string text;
    EXPECT_TRUE(DecodeFileText(files, bytes, text));
    std::vector<std::string> lines = SplitText(text, "\r\n");
    EXPECT_EQ(lines.back(), "") << "last line without CR LF";
    lines.pop_back();
    for (const std::string& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    return lines;
  }

  FakeFileSystem files;
  FakeClock clock;
  FakeEnvironment environment;
};

TEST_F(AlertLogTest, ALogOf20000LinesOrMoreDropsItsOldest9000) {
  const std::tuple<std::size_t, std::size_t, const char*> cases[] = {{19999, 20000, "line 0"},
                                                                    {20000, 11001, "line 9000"}};
  for (const auto& [before, after, first] : cases) {
    SCOPED_TRACE(before);
    files.AddFile(kLog, Utf16File(Numbered(before)));
    Append("new");
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), after);
    EXPECT_EQ(lines.front(), first);
    EXPECT_EQ(lines[after - 2], "line " + std::to_string(before - 1));
    EXPECT_EQ(lines.back(), std::string(kLinePrefix) + "new");
  }
}

TEST_F(AlertLogTest, AnEmptyTextAddsAnEmptyLineWithoutTimeStampAndNeverTrims) {
  Append("");
  EXPECT_EQ(files.Content(kLog).value_or(""), Utf16File({""}));

  files.AddFile(kLog, Utf16File(Numbered(20000)));
  Append("");
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 20001u);
  EXPECT_EQ(lines.front(), "line 0");
  EXPECT_EQ(lines.back(), "");
}

TEST_F(AlertLogTest, ALogThatCannotBeReadIsLeftAlone) {
  const std::string odd("\xFF\xFE" "a", 3);  // half a UTF-16 unit
  for (bool unreadable : {true, false}) {
    SCOPED_TRACE(unreadable ? "locked" : "undecodable");
    files.AddFile(kLog, unreadable ? Utf16File({"kept"}) : odd);
    files.SetUnreadable(kLog, unreadable);
    const int writes = files.WriteCount(kLog);
    Append("new");
    EXPECT_EQ(files.WriteCount(kLog), writes);
    files.SetUnreadable(kLog, false);
  }
}

// The log is kept in UTF-16 LE; a log in another encoding (here ANSI) is converted.
TEST_F(AlertLogTest, ExistingLinesEndAtCrLfLfOrCrAndAreRewrittenAsUtf16CrLf) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {}}, {"a", {"a"}}, {"a\r\n", {"a"}}, {"a\r\nb", {"a", "b"}}, {"\r\n", {""}},
      {"a\n\nb\r\rc", {"a", "", "b", "", "c"}}, {"a\n\r", {"a", ""}},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(text));
    files.AddFile(kLog, testing::Utf16File(text));
    Append("new");
    std::vector<std::string> lines = expected;
    lines.push_back(std::string(kLinePrefix) + "new");
    EXPECT_EQ(Lines(), lines);
  }
  files.AddFile(kLog, "Gr\xFC\xDF" "e\rzwei");
  Append("drei");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Grüße", "zwei", std::string(kLinePrefix) + "drei"}));
}

}  // namespace
}  // namespace bootmark
