// The whole disable-rate look-up against a fake statistics server: waiting,
// cancelling at the deadline, caching, and the files the decision saves.
#include "alert/disable_rate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include "alert/disable_rate_lookup.h"
#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"
#include "startup/startup_item_id.h"
#include "unit/disable_rate_test_support.h"
#include "unit/new_item_test_support.h"

namespace bootmark {
namespace {

using namespace disable_rate_test;
using testing::FakePlatform;
using testing::Utf16File;

class DisableRateLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The main thread's 100 ms sleeps take a moment of real time, so that the
    // wait does not spin while the request thread works.
    fake.clock.onSleep = [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
    fake.files.AddFile(kExe, "MZ");
    fake.files.AddFile(kUpdateIni, Utf16File(std::string("[Startup]\r\nOpenRequest=1\r\nRequesturl=") + kUrl + "\r\n"));
  }

  bool Decide(std::string_view exe = kExe) {
    return DecideDisableRate(fake.platform, keys, DisableRateItem{"Updater", std::string(exe), 1},
                             [this](std::string_view id) { statistics.emplace_back(id); });
  }

  std::string Info(std::string_view key, std::string_view exe = kExe) {
    TSafeIniFile info(fake.files);
    info.LoadFromFile(kInfoIni);
    return info.ReadString(std::string("Updater") + std::string(exe) + "1", key, "<none>");
  }

  // A key of the cached answer for the updater.
  std::string Cached(std::string_view key) {
    TSafeIniFile cache(fake.files);
    cache.LoadFromFile(kCache);
    return cache.ReadString(kUpdaterId, key, "<none>");
  }

  FakePlatform fake;
  LocalIdentity identity;
  ItemKeys keys{identity, nullptr};
  std::vector<std::string> statistics;
};

TEST_F(DisableRateLookupTest, NoUsableAnswerLeavesTheRateEmptyAndUnknown) {
  const std::string advice = R"({"id":"x","prop":"5%","recommendation":3})";
  const struct {
    const char* name;
    std::optional<std::string> response;
    const char* exe = kExe;
    const char* url = kUrl;
    bool asked = true;
  } cases[] = {
      // Which answers are refused is the parser's rule.
      {"network failure", std::nullopt},
      {"missing program is not asked about", advice, "C:\\Tools\\gone.exe", kUrl, false},
      {"plain HTTP to another machine is not asked", advice, kExe, "http://stats.test/p.php", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake.debug.lines.clear();
    statistics.clear();
    fake.http.response = c.response;
    fake.files.AddFile(kUpdateIni, Utf16File(std::string("[Startup]\r\nOpenRequest=1\r\nRequesturl=") + c.url));
    const std::size_t requests = fake.http.Requests().size();

    EXPECT_FALSE(Decide(c.exe));

    EXPECT_EQ(fake.http.Requests().size(), requests + (c.asked ? 1 : 0));
    EXPECT_EQ(fake.debug.lines, (std::vector<std::string>{"DisableRate: ", "Recommend: -1", "FNewItemDisRate : "}));
    EXPECT_TRUE(statistics.empty());
    EXPECT_EQ(Info("DisableRate", c.exe), "");
    EXPECT_EQ(Info("Recommand", c.exe), "-1");
    EXPECT_FALSE(fake.files.FileExists(kCache));
  }
}

// A server that never finishes its answer: once the look-up's time has passed,
// the waiting thread ends the request, and the item has no rate.
TEST_F(DisableRateLookupTest, WaitingThreadCancelsTheRequestAtTheDeadline) {
  fake.files.AddFile(kUpdateIni, Utf16File(std::string("[Startup]\r\nOpenRequest=1\r\nRequesturl=") + kUrl +
                                           "\r\nRequestTimeout=2\r\n"));
  // The clock runs only once the request is out, so the deadline always falls while
  // it waits, however slowly the threads are scheduled.
  std::atomic<bool> asked{false};
  std::optional<std::uint32_t> cancelSeenAt;
  fake.clock.onSleep = [&] {
    for (int i = 0; !asked && i < 10000; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!cancelSeenAt && fake.http.Cancelled()) cancelSeenAt = fake.clock.tickCount;
    fake.clock.tickCount += 100;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  fake.http.answer = [&](std::string_view) -> std::optional<std::string> {
    asked = true;
    while (!fake.http.Cancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return std::string(R"({"id":"x","prop":"5%","recommendation":3})");
  };
  const std::uint32_t started = fake.clock.tickCount;

  EXPECT_FALSE(Decide());

  EXPECT_EQ(Info("DisableRate"), "");
  EXPECT_EQ(Info("Recommand"), "-1");
  EXPECT_EQ(cancelSeenAt, started + 2000) << "cancelled at the first check after the 2 s deadline";
  // The main thread let its messages run between its 100 ms sleeps.
  EXPECT_EQ(fake.clock.sleeps.size(), static_cast<std::size_t>(fake.desktop.messageRuns));
  for (const std::uint32_t sleep : fake.clock.sleeps) EXPECT_EQ(sleep, 100u);
  // The request thread set COM up for itself and took it down again.
  EXPECT_EQ(fake.tasks.initializeCalls, 1);
  EXPECT_EQ(fake.tasks.uninitializeCalls, 1);
}

// The body and the answer are in the ANSI code page (the fake system's is
// Windows-1252: "\xE9" is "é"); blanks are no control characters, so the rate is
// kept as sent, and cached only under the identifier asked about.
TEST_F(DisableRateLookupTest, AnswerIsReadInTheAnsiCodePageAndCachedUnderTheIdentifierAsked) {
  fake.http.response = "{\"id\":\"other-item\",\"prop\":\"5 caf\xE9\",\"recommendation\":1}";
  EXPECT_FALSE(Decide());
  EXPECT_EQ(Info("DisableRate"), "5 caf\xC3\xA9");
  TSafeIniFile cache(fake.files);
  cache.LoadFromFile(kCache);
  EXPECT_EQ(cache.ReadSections(), std::vector<std::string>{kUpdaterId});
  EXPECT_EQ(Cached("drate"), "5 caf\xC3\xA9");
}

// Both files the decision saves: whatever a locked file held is still on disk
// afterwards, in its side copy, and the file healed. Which files count as
// unreadable is the settings file's own rule.
TEST_F(DisableRateLookupTest, UnreadableFilesAreKeptAsideWhenTheDecisionSavesOverThem) {
  const std::string locked = Utf16File("[Other]\r\nk=1\r\n");
  fake.http.response = std::string(R"({"id":")") + kUpdaterId + R"(","prop":"5%","recommendation":1})";
  for (const char* file : {kCache, kInfoIni}) {
    SCOPED_TRACE(file);
    for (const char* path : {kCache, kInfoIni}) fake.files.DeleteFile(path);
    fake.files.AddFile(file, locked);
    fake.files.SetUnreadable(file, true);

    Decide();

    fake.files.SetUnreadable(file, false);
    EXPECT_EQ(fake.files.Content(std::string(file) + ".unreadable"), locked);
    EXPECT_EQ(Info("DisableRate"), "5%");
    EXPECT_EQ(Cached("drate"), "5%");
  }
}

class CheckDisableRateTest : public DisableRateLookupTest {
 protected:
  bool Check(const ProgramArguments& arguments) {
    TaskReader tasks(fake.platform, nullptr);
    TCheckPath checkPath(fake.platform);
    return CheckDisableRate(fake.platform, tasks, checkPath, identity, arguments,
                            [this](std::string_view id) { statistics.emplace_back(id); });
  }

  const ProgramArguments updater = testing::AddAutoRunArguments(
      1, {"Updater", std::string("\"") + kExe + "\" /silent", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"});
};

// Which settings switch the look-up off is the settings' own table.
TEST_F(CheckDisableRateTest, SwitchedOffMeansNoRequestAndNoFile) {
  fake.http.response = std::string(R"({"id":")") + kUpdaterId + R"(","prop":"5%","recommendation":3})";
  fake.files.AddFile(kUpdateIni, Utf16File("[Startup]\r\nOpenRequest=0\r\n"));
  const int writes = fake.files.TotalWriteCount();

  EXPECT_FALSE(Check(updater));

  EXPECT_TRUE(fake.http.Requests().empty());
  EXPECT_EQ(fake.files.TotalWriteCount(), writes);
  EXPECT_TRUE(fake.debug.lines.empty());
  EXPECT_TRUE(statistics.empty());
}

TEST_F(CheckDisableRateTest, AdviceToKeepEndsTheAlertWithTheItemStored) {
  fake.http.response = std::string(R"([{"id":")") + kUpdaterId + R"(","prop":"25%","recommendation":3}])";

  EXPECT_TRUE(Check(updater));

  // The identifier is that of the program the command starts, under its name.
  const auto requests = fake.http.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].url, kUrl);
  EXPECT_EQ(requests[0].body, std::string(R"([{"id":")") + kUpdaterId + R"("}])");
  EXPECT_EQ(requests[0].maxResponseBytes, kMaxDisableRateAnswerBytes);

  const std::vector<std::string> lines{"DisableRate: 25%", "Recommend: 3", "6.IsRecommand :Enable ",
                                       "FNewItemDisRate : 25"};
  EXPECT_EQ(fake.debug.lines, lines);
  EXPECT_EQ(statistics, std::vector<std::string>{"230"});
  EXPECT_EQ(Info("DisableRate"), "25%");
  EXPECT_EQ(Info("Recommand"), "3");
  EXPECT_EQ(Cached("drate"), "25%");
  EXPECT_EQ(Cached("recommendation"), "3");
}

}  // namespace
}  // namespace bootmark
