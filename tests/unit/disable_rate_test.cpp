// The disable-rate decision's parts: the server's answer, the statistics bands,
// the settings that switch the look-up on and the item identifier.
#include "alert/disable_rate.h"

#include <gtest/gtest.h>

#include "alert/disable_rate_lookup.h"
#include "fakes/fake_platform.h"
#include "startup/startup_item_id.h"
#include "unit/disable_rate_test_support.h"
#include "unit/new_item_test_support.h"

namespace bootmark {
namespace {

using namespace disable_rate_test;
using testing::FakePlatform;
using testing::Utf16File;

TEST(ParseDisableRateAnswer, TakesRateAndAdviceFromObjectsWithThreeFields) {
  const struct {
    const char* response;
    const char* id;
    const char* rate;
    int recommendation;
  } cases[] = {
      {R"({"id":"ab","prop":"12.5%","recommendation":3})", "ab", "12.5%", 3},
      {R"([[ {"id":"ab","prop":"12.5%","recommendation":3} ]])", "ab", "12.5%", 3},
      {R"({"id":"ab","prop":"7%","recommendation":"0"})", "ab", "7%", 0},
      {R"({"id":"ab","prop":"7%","recommendation":" 2"})", "ab", "7%", -1},
      // Numbers are taken as written; fields beyond the three are ignored.
      {R"({"id":"ab","prop":12.5,"recommendation":1,"extra":{"n":{}}})", "ab", "12.5", 1},
      // Three fields, but not the expected ones.
      {R"({"a":1,"b":2,"c":3})", "", "", -1},
      // Brackets go wherever they are, inside texts too.
      {R"({"id":"a[1]","prop":"[5%]","recommendation":1})", "a1", "5%", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.response);
    const auto answer = ParseDisableRateAnswer(c.response);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->id, c.id);
    EXPECT_EQ(answer->rate, c.rate);
    EXPECT_EQ(answer->recommendation, c.recommendation);
  }
}

TEST(ParseDisableRateAnswer, RefusesNoAnswerGarbageAndSmallObjects) {
  const std::string answer = R"({"id":"ab","prop":"5%","recommendation":3})";
  const std::string atTheLimit = answer + std::string(kMaxDisableRateAnswerBytes - answer.size(), ' ');
  EXPECT_TRUE(ParseDisableRateAnswer(atTheLimit));
  const std::string oversized = atTheLimit + " ";
  const std::string refused[] = {
      "",
      "[]",
      "<html>404</html>",
      R"({"id":"ab","prop":"12.5%"})",
      R"({"id":"ab","prop":"12.5%","recommendation":3)",
      // An array inside loses its brackets and so breaks the object.
      R"({"id":"ab","prop":"1%","list":[1,2]})",
      oversized,
  };
  for (const std::string& response : refused) {
    EXPECT_FALSE(ParseDisableRateAnswer(response)) << response.substr(0, 80);
  }
}

TEST(DisableRateStatistic, BandsOfTheRateText) {
  const struct {
    const char* rate;
    const char* number;
    const char* statistic;
  } cases[] = {
      {"9.99%", "9.99", "228"}, {"0.01%", "0.01", "228"}, {" 5 % ", "5", "228"}, {"10%", "10", "229"},
      {"20%", "20", "230"},     {"29.9%", "29.9", "230"}, {"30%", "30", ""},       {"0%", "0", ""},
      {"-3%", "-3", ""},        {"n/a", "n/a", ""},       {"%%12,5%", "12,5", "229"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DisableRateNumberText(c.rate), c.number) << c.rate;
    EXPECT_EQ(DisableRateStatistic(DisableRateValue(c.rate)), c.statistic) << c.rate;
  }
}

TEST(DisableRateSettings, OnlyAnExplicitValueOtherThanZeroSwitchesTheLookUpOn) {
  const struct {
    const char* file;  // nullptr: no Update.ini
    bool on;
    const char* url;
    std::uint32_t deadlineMs = 60000;
  } cases[] = {
      {nullptr, false, kDefaultUrl},
      {"[Startup]\r\nOpenRequest=0\r\nRequesturl=http://x/proportion.php\r\n", false, "http://x/proportion.php"},
      {"[Startup]\r\nOpenRequest=1\r\nRequestTimeout=3600\r\n", true, kDefaultUrl, 3600000},
      {"[Startup]\r\nOpenRequest=1\r\nRequestTimeout=1\r\n", true, kDefaultUrl, 1000},
      {"[Startup]\r\nOpenRequest=yes\r\nRequestTimeout=0\r\n", true, kDefaultUrl},
      {"[Startup]\r\nOpenRequest=\r\nRequestTimeout=3601\r\n", true, kDefaultUrl},
      {"[Other]\r\nOpenRequest=1\r\nRequestTimeout=5\r\n", false, kDefaultUrl},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file ? c.file : "no file");
    FakePlatform fake;
    if (c.file != nullptr) fake.files.AddFile(kUpdateIni, Utf16File(c.file));
    EXPECT_EQ(IsDisableRateRequestOn(fake.files, fake.environment), c.on);
    EXPECT_EQ(ReadDisableRateRequestUrl(fake.files, fake.environment), c.url);
    EXPECT_EQ(ReadDisableRateDeadlineMs(fake.files, fake.environment), c.deadlineMs);
    // Reading the suite's settings never creates them.
    EXPECT_EQ(fake.files.FileExists(kUpdateIni), c.file != nullptr);
  }
}

TEST(DisableRateSettings, PlainHttpOnlyToThisMachine) {
  const struct {
    const char* url;
    bool permitted;
  } cases[] = {
      {"https://stats.test/p.php", true}, {"HTTPS://stats.test", true},
      {"http://127.0.0.1:8080/p.php", true}, {"http://127.1.2.3/p", true}, {"http://LOCALHOST:1/p", true},
      {"http://[::1]:80/p", true}, {"http://user@127.0.0.1/p", true},
      {"http://stats.test/p.php", false}, {"http://127.0.0.1.evil.test/p", false},
      {"http://127.0.0.1@evil.test/p", false}, {"http://localhost.evil.test/", false},
      {"http://[::2]/p", false}, {"http://127.0.0.256/", false}, {"ftp://127.0.0.1/", false},
      {"https://", false}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsPermittedRequestUrl(c.url), c.permitted) << c.url;
}

TEST(GetStartupItemId, IsTheDigestOfTheMachineIndependentKey) {
  FakePlatform fake;
  LocalIdentity identity;
  identity.UserSids = {kAnnSid, kBobSid};
  const ItemKeys keys(identity, nullptr);
  const auto id = [&](std::string_view name, std::string_view exe, int kind) {
    return GetStartupItemId(keys, fake.files, fake.versions, name, exe, kind);
  };

  // Case does not matter; the folder of the program does not either, the kind does.
  EXPECT_EQ(id("UPDATER", "D:\\Other\\UPD.EXE", 1), kUpdaterId);
  EXPECT_NE(id("Updater", kExe, 2), kUpdaterId);

  // Two users' copies of one item give one identifier.
  const std::string ann = id(std::string("Sync ") + kAnnSid, kExe, 3);
  EXPECT_EQ(ann, id(std::string("Sync ") + kBobSid, kExe, 3));
  EXPECT_NE(ann, id("Sync", kExe, 3));
}

}  // namespace
}  // namespace bootmark
