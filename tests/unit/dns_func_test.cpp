// The DNS change decisions and "netwarden.ini".
#include "dns/dns_func.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "common/registry_values.h"
#include "common/safe_ini_file.h"
#include "dns/dns_set.h"
#include "fakes/fake_platform.h"
#include "unit/dns_test_support.h"

namespace bootmark {
namespace {

using namespace dns_test;

constexpr const char* kProtected = "8.8.8.8,8.8.4.4";

struct Protection {
  std::string dns, address, systemDnsAuto;
  friend bool operator==(const Protection&, const Protection&) = default;
};

TEST(ApplyDNSDecision, FollowsTheDecisionTable) {
  struct Case {
    const char* name;
    std::optional<std::string> current;  // static list; nullopt: automatic DNS
    const char* systemDnsAuto;
    bool allow;
    DnsDecisionAction action;
    std::string nameServerAfter;
    std::optional<Protection> protectionAfter;  // nullopt: the file is unchanged
  };
  using enum DnsDecisionAction;
  const std::optional<std::string> automatic;
  const std::string other = "1.1.1.1 9.9.9.9";
  const Case cases[] = {
      {"automatic, static protected, allow", automatic, "0", true, AcceptedAutomatic, "", {{"0", kDhcpList, "1"}}},
      {"automatic, static protected, stop", automatic, "0", false, RestoredStatic, kProtected, {}},
      {"automatic, automatic protected, stop", automatic, "1", false, None, "", {}},
      {"static, automatic protected, allow", "1.1.1.1", "1", true, AcceptedStatic, "1.1.1.1", {{"0", "1.1.1.1", "0"}}},
      {"static, automatic protected, stop", "1.1.1.1", "1", false, RestoredAutomatic, "", {}},
      {"static, other static protected, allow", other, "0", true, AcceptedStatic, other, {{"0", other, "0"}}},
      {"static, other static protected, stop", other, "0", false, RestoredStatic, kProtected, {}},
      {"static, same list protected, allow", kProtected, "0", true, None, kProtected, {}},
      {"static, other value, allow", "1.1.1.1", "5", true, None, "1.1.1.1", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::FakePlatform machine;
    SeedAdapter(machine.registry, c.current);
    const std::string before = Utf16File(std::string("[Browser Protect]\r\nDNS=0\r\nDNSAddress=") + kProtected +
                                         "\r\nSystemDnsAuto=" + c.systemDnsAuto + "\r\n[Restore]\r\nOpenkb=0\r\n");
    machine.files.AddFile(kNetwarden, before);

    EXPECT_EQ(TDNSFunc::ApplyDNSDecision(machine.platform, c.allow), c.action);
    EXPECT_EQ(NameServer(machine.registry), c.nameServerAfter);
    if (c.protectionAfter) {
      TSafeIniFile ini(machine.files);
      ini.LoadFromFile(kNetwarden);
      const auto read = [&](const char* key) { return ini.ReadString("Browser Protect", key, "-"); };
      EXPECT_EQ((Protection{read("DNS"), read("DNSAddress"), read("SystemDnsAuto")}), *c.protectionAfter);
      EXPECT_EQ(ini.ReadString("Restore", "Openkb", "-"), "0");  // other keys stay
    } else {
      EXPECT_EQ(machine.files.Content(kNetwarden), before);
    }
  }
}

// Which files count as unreadable is the settings file's own rule.
TEST(ApplyDNSDecision, AnUnreadableSettingsFileIsLeftUntouched) {
  testing::FakePlatform machine;
  SeedAdapter(machine.registry, "1.1.1.1");
  const std::string before = Utf16File("[Browser Protect]\r\nDNS=0\r\n");
  machine.files.AddFile(kNetwarden, before);
  machine.files.SetUnreadable(kNetwarden);
  TDNSFunc::WriteGuardSettings(machine.platform, 1, "1.1.1.1", "0");
  RememberDNSChoice(machine.platform, kRememberStopSection, "1.1.1.1");
  machine.files.SetUnreadable(kNetwarden, false);
  EXPECT_EQ(machine.files.Content(kNetwarden), before);
}

TEST(ReadGuardSettings, DefaultsDescribeTheDnsInForce) {
  const struct {
    const char* name;
    std::optional<std::string> current;
    const char* file;  // nullptr: no file
    std::int32_t dnsSwitch;
    std::string address;
    std::int32_t systemDnsAuto;
  } cases[] = {
      {"no file, automatic", std::nullopt, nullptr, 1, kDhcpList, 1},
      {"no file, static", "1.1.1.1", nullptr, 1, "1.1.1.1", 0},
      {"stored values win", "1.1.1.1", "[Browser Protect]\r\nDNS=0\r\nDNSAddress=9.9.9.9\r\nSystemDnsAuto=1\r\n", 0,
       "9.9.9.9", 1},
      {"empty stored address stays empty", std::nullopt, "[Browser Protect]\r\nDNSAddress=\r\n", 1, "", 1},
      {"numbers that are not numbers", "1.1.1.1", "[Browser Protect]\r\nDNS=on\r\nSystemDnsAuto=yes\r\n", 1,
       "1.1.1.1", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::FakePlatform machine;
    SeedAdapter(machine.registry, c.current);
    if (c.file != nullptr) machine.files.AddFile(kNetwarden, Utf16File(c.file));
    const GuardSettings settings = TDNSFunc::ReadGuardSettings(machine.platform);
    EXPECT_EQ(settings.dnsSwitch, c.dnsSwitch);
    EXPECT_EQ(settings.protectedDNS, c.address);
    EXPECT_EQ(settings.systemDnsAuto, c.systemDnsAuto);
  }
}

// Keys are seventeen digits of the UTC time.
TEST(RememberDNSChoice, KeysAreUtcAndEachChoiceIsKept) {
  EXPECT_EQ(RememberedChoiceKey({999, 1, 2, 3, 4, 5, 6}), "09990102030405006");
  testing::FakePlatform machine;
  machine.clock.now = *EncodeDateTime({2025, 3, 14, 10, 5, 9, 123});
  machine.clock.utcNow = *EncodeDateTime({2025, 3, 14, 8, 5, 9, 123});
  RememberDNSChoice(machine.platform, kRememberAllowSection, "1.1.1.1 9.9.9.9");
  machine.clock.utcNow = *EncodeDateTime({2025, 3, 14, 8, 5, 9, 124});
  RememberDNSChoice(machine.platform, kRememberAllowSection, "8.8.8.8");
  RememberDNSChoice(machine.platform, kRememberStopSection, "4.4.4.4");

  EXPECT_EQ(machine.files.Content(kNetwarden),
            Utf16File("[DNSRember_Allow]\r\n20250314080509123=1.1.1.1 9.9.9.9\r\n20250314080509124=8.8.8.8\r\n\r\n"
                      "[DNSRember_Stop]\r\n20250314080509124=4.4.4.4\r\n\r\n"));
  EXPECT_EQ(ReadRememberedDNS(machine.platform, kRememberAllowSection),
            (std::vector<std::string>{"1.1.1.1 9.9.9.9", "8.8.8.8"}));
}

TEST(IsRememberedDNS, ComparesWholeListsWithoutRegardToCase) {
  testing::FakePlatform machine;
  EXPECT_FALSE(IsRememberedDNS(machine.platform, kRememberAllowSection, ""));
  EXPECT_FALSE(machine.files.FileExists(kNetwarden));
  machine.files.AddFile(kNetwarden, Utf16File("[DNSRember_Allow]\r\n1=FE80::1,8.8.8.8\r\nodd line\r\n"
                                              "2=a=b\r\n[DNSRember_Stop]\r\n3=9.9.9.9\r\n"));
  const struct {
    const char* dns;
    bool remembered;
  } cases[] = {
      {"fe80::1,8.8.8.8", true}, {"8.8.8.8,FE80::1", false}, {"FE80::1", false}, {"a=b", true}, {"9.9.9.9", false},
      {"odd line", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsRememberedDNS(machine.platform, kRememberAllowSection, c.dns), c.remembered) << c.dns;
  }
}

}  // namespace
}  // namespace bootmark
