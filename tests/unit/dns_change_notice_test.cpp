// The DNS change notice: what it shows, where, and what each way out does.
#include "app/dns_change_notice.h"

#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "unit/dns_test_support.h"
#include "unit/toolkit_test_support.h"

namespace bootmark {
namespace {

using namespace dns_test;
using testing::FakePlatform;

using testing::kMainIni;
constexpr const char* kLanguageFile = "C:\\Program Files\\Tarvo\\Kestrune\\Toolbox_Language\\English.lng";
constexpr const char* kNetwardenExe = "C:\\Program Files\\Tarvo\\Kestrune\\Netwarden.exe";

struct Notice {
  explicit Notice(FakePlatform& machine, const SystemInfo* system = nullptr) : notice(machine.platform, system) {
    notice.Form().SetTextMeasurer(&measurer);
  }
  FormControl& operator[](std::string_view name) { return notice.Form().Get(name); }
  void Click(std::string_view name) {
    FormControl& control = notice.Form().Get(name);
    notice.Form().MouseMove(control, {2, 2});
    notice.Form().MouseDown(control, {2, 2});
    notice.Form().MouseUp(control, {2, 2});
  }

  testing::FixedTextMeasurer measurer;
  TBmark_DNSChangeNotice notice;
};

TEST(SplitDnsForDisplay, ShowsTheFirstTwoServers) {
  const std::pair<const char*, DnsLines> cases[] = {
      {"1.1.1.1,8.8.8.8,9.9.9.9", {"1.1.1.1", "8.8.8.8"}}, {"  192.168.1.1  ", {"192.168.1.1", ""}},
      {"1.1.1.1, 8.8.8.8", {"1.1.1.1", "8.8.8.8"}}, {"1.1.1.1  8.8.8.8", {"1.1.1.1", "8.8.8.8"}},
      {"1.1.1.1,", {"1.1.1.1,", ""}}, {"fe80::1 2001:db8::53,10.0.0.1", {"fe80::1 2001:db8::53", "10.0.0.1"}},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(SplitDnsForDisplay(text), lines) << text;
}

// The creation either ends the process (and how the machine looks after it) or
// leaves the notice to be shown.
TEST(DnsChangeNoticeCreate, EndsAtOnceWhenSuppressedEmptyOrRemembered) {
  struct Case {
    const char* name;
    std::optional<std::string> current;  // static list; nullopt: automatic
    bool noAdapter;
    const char* netwarden;
    bool ends;
    const char* nameServerAfter;
    const char* protectedAfter = "8.8.8.8";  // "DNSAddress" of the settings file afterwards
  };
  const char* protectedStatic = "[Browser Protect]\r\nDNSAddress=8.8.8.8\r\nSystemDnsAuto=0\r\n";
  const std::string rememberedAllow = std::string(protectedStatic) + "[DNSRember_Allow]\r\n20250101000000000=1.1.1.1\r\n";
  const std::string rememberedStop =
      std::string(protectedStatic) + "[DNSRember_Stop]\r\n20250101000000000=FE80::1 1.1.1.1\r\n";
  const std::string suppressed = rememberedStop + "[Restore]\r\nOpenkb=1\r\n";
  const Case cases[] = {
      {"no settings file shows", "1.1.1.1", false, nullptr, false, "1.1.1.1", ""},
      {"Openkb suppresses even a remembered choice", "fe80::1 1.1.1.1", false, suppressed.c_str(), true,
       "fe80::1 1.1.1.1"},
      {"no adapter ends", std::nullopt, true, protectedStatic, true, "<no key>"},
      {"a blank list ends", "  ", false, "[x]\r\n", true, "  ", ""},
      {"remembered allow applies and is stored", "1.1.1.1", false, rememberedAllow.c_str(), true, "1.1.1.1",
       "1.1.1.1"},
      {"remembered stop applies, case aside", "fe80::1 1.1.1.1", false, rememberedStop.c_str(), true, "8.8.8.8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform machine;
    if (!c.noAdapter) SeedAdapter(machine.registry, c.current);
    if (c.netwarden != nullptr) machine.files.AddFile(kNetwarden, Utf16File(c.netwarden));
    Notice notice(machine);
    EXPECT_EQ(testing::EndsProcess([&] { notice.notice.FormCreate(); }), c.ends);
    EXPECT_EQ(NameServer(machine.registry), c.nameServerAfter);
    EXPECT_EQ(TSafeIniFile(machine.files, kNetwarden).ReadString("Browser Protect", "DNSAddress", ""),
              c.protectedAfter);
  }
}

// Each text from its key of the language file (the English defaults are the
// program's constants); the font size level and the skin from Main.ini.
TEST(DnsChangeNoticeCreate, TextsFontSizeAndSkinFromTheSuitesFiles) {
  FakePlatform machine;
  SeedAdapter(machine.registry, "1.1.1.1,8.8.8.8");
  machine.files.AddFile(kLanguageFile, Utf16File("[SM_M]\r\nM_SettingHint=Einstellungen\r\nM_CloseHint=Schliessen\r\n"
                                                 "M_DNSRemeber=Merken\r\nM_DNSStop=Stopp\r\nM_DNSAllow=Erlauben\r\n"
                                                 "M_DNSChangCap=DNS geaendert:\r\n[Bmark_DNSChangeNotice_SM]\r\n"
                                                 "lblKSTTitle.Caption=Tarvo DNS-Schutz\r\n"));
  machine.files.AddFile(kMainIni, Utf16File("[Main]\r\nFontSize=2\r\nSkin=dark\r\n"));
  Notice notice(machine);
  ASSERT_FALSE(testing::EndsProcess([&] { notice.notice.FormCreate(); }));
  EXPECT_EQ(notice["btnSetting"].hint, "Einstellungen");
  EXPECT_EQ(notice["BtnClose"].hint, "Schliessen");
  EXPECT_EQ(notice["Btn_Checkbox"].caption, "Merken");
  EXPECT_EQ(notice["btnStop"].caption, "Stopp");
  EXPECT_EQ(notice["Btn_Allow"].caption, "Erlauben");
  EXPECT_EQ(notice["lbl_DNSCap"].caption, "DNS geaendert:");
  EXPECT_EQ(notice["lblKSTTitle"].caption, "Tarvo DNS-Schutz");
  EXPECT_EQ(notice["lbl_DNSStr1"].caption, "1.1.1.1");
  EXPECT_EQ(notice["lbl_DNSStr2"].caption, "8.8.8.8");
  EXPECT_EQ(notice.notice.CurrentDNS(), "1.1.1.1,8.8.8.8");
  EXPECT_TRUE(notice.notice.Form().toolWindow);
  FormModel& form = notice.notice.Form();
  EXPECT_EQ(form.FontOf(notice["lblKSTTitle"]).size, 12);  // the title keeps its size
  EXPECT_EQ(form.FontOf(notice["lbl_DNSStr1"]), (FontSpec{"Segoe UI", 16, false, false}));
  EXPECT_EQ(form.skin, "dark");
  EXPECT_EQ(notice.notice.SkinResourceFile(), "dark.dll");
}

// Bottom right, the servers under the caption whatever its height; a checkbox
// caption beyond 200 pixels is cut and kept whole in its hint.
TEST(DnsChangeNoticeShow, BottomRightWithServersUnderTheCaption) {
  FakePlatform machine;
  SeedAdapter(machine.registry, "1.1.1.1 8.8.8.8");
  machine.display.workArea = Rect{0, 0, 1600, 860};
  machine.files.AddFile(kLanguageFile, Utf16File("[SM_M]\r\nM_DNSRemeber=Meine Entscheidung fuer diese Adressen "
                                                 "merken\r\nM_DNSChangCap=Ihre DNS-Einstellungen wurden "
                                                 "moeglicherweise boeswillig geaendert auf:\r\n"));
  Notice notice(machine);
  ASSERT_FALSE(testing::EndsProcess([&] { notice.notice.FormCreate(); }));
  notice.notice.FormShow();
  EXPECT_TRUE(notice.notice.Form().visible);
  EXPECT_EQ(notice.notice.Form().bounds, (Rect{1170, 610, 1600, 860}));
  const FormControl& caption = notice["lbl_DNSCap"];
  EXPECT_EQ(caption.bounds.Height(), 32);  // two lines
  EXPECT_EQ(notice["lbl_DNSStr1"].bounds.top, caption.bounds.bottom + 12);
  EXPECT_EQ(notice["lbl_DNSStr2"].bounds.top, notice["lbl_DNSStr1"].bounds.bottom + 2);
  const FormControl& remember = notice["Btn_Checkbox"];
  EXPECT_TRUE(remember.showHint);
  EXPECT_EQ(remember.bounds.Width(), 200);
  EXPECT_EQ(remember.hint, "Meine Entscheidung fuer diese Adressen merken");
  EXPECT_EQ(remember.caption.substr(remember.caption.size() - 3), "...");
}

TEST(DnsChangeNoticeShow, LargeScreensGetTheWideLayout) {
  FakePlatform machine;
  SeedAdapter(machine.registry, "1.1.1.1,8.8.8.8");
  machine.display.workArea = Rect{0, 0, 2560, 1400};
  machine.display.dpiAware = true;
  machine.display.screenDpi = 144;
  SystemInfo system(machine.platform);
  system.SetupDpiAwareness();
  Notice notice(machine, &system);
  ASSERT_FALSE(testing::EndsProcess([&] { notice.notice.FormCreate(); }));
  ASSERT_TRUE(notice.notice.Enlarged());
  notice.notice.FormShow();
  const FormModel& form = notice.notice.Form();
  EXPECT_EQ(form.bounds, (Rect{1915, 1025, 2560, 1400}));
  // The content drops 70 pixels and is centred; the buttons move apart.
  EXPECT_EQ(notice["lbl_DNSStr1"].bounds.top, 158);
  EXPECT_EQ(notice["lbl_DNSStr1"].bounds.left, (645 - 49) / 2);
  EXPECT_EQ(notice["Btn_Allow"].bounds, (Rect{137, 309, 291, 343}));
  EXPECT_EQ(notice["btnStop"].bounds, (Rect{301, 309, 455, 343}));
  EXPECT_FALSE(notice["Btn_Checkbox"].showHint);  // the English caption fits
  // The title bar's drag area follows the window's width.
  EXPECT_EQ(notice["Image_cover"].bounds, (Rect{0, 0, 635, 38}));
}

struct ActionCase {
  const char* name;
  const char* control;
  bool check;  // tick "Remember my choice" first
  const char* nameServerAfter;
  const char* addressAfter;
  const char* rememberedAllow;
  const char* rememberedStop;
};

TEST(DnsChangeNoticeActions, AllowStopAndCloseAfterTheirChoice) {
  const ActionCase cases[] = {
      {"allow and remember", "Btn_Allow", true, "1.1.1.1 9.9.9.9", "1.1.1.1 9.9.9.9", "1.1.1.1 9.9.9.9", ""},
      {"stop", "btnStop", false, "8.8.8.8,8.8.4.4", "8.8.8.8,8.8.4.4", "", ""},
      {"stop and remember", "btnStop", true, "8.8.8.8,8.8.4.4", "8.8.8.8,8.8.4.4", "", "1.1.1.1 9.9.9.9"},
      {"close changes nothing, ticked or not", "BtnClose", true, "1.1.1.1 9.9.9.9", "8.8.8.8,8.8.4.4", "", ""},
  };
  for (const ActionCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform machine;
    machine.clock.utcNow = *EncodeDateTime({2025, 6, 1, 12, 30, 45, 678});
    SeedAdapter(machine.registry, "1.1.1.1 9.9.9.9");
    const std::string before = Utf16File("[Browser Protect]\r\nDNS=1\r\nDNSAddress=8.8.8.8,8.8.4.4\r\nSystemDnsAuto=0\r\n");
    machine.files.AddFile(kNetwarden, before);
    Notice notice(machine);
    ASSERT_FALSE(testing::EndsProcess([&] { notice.notice.FormCreate(); }));
    notice.notice.FormShow();
    if (c.check) notice.Click("Btn_Checkbox");
    EXPECT_EQ(notice["Btn_Checkbox"].checked, c.check);
    EXPECT_TRUE(testing::EndsProcess([&] { notice.Click(c.control); }));

    EXPECT_EQ(NameServer(machine.registry), c.nameServerAfter);
    const TSafeIniFile ini(machine.files, kNetwarden);
    EXPECT_EQ(ini.ReadString("Browser Protect", "DNSAddress", ""), c.addressAfter);
    EXPECT_EQ(ini.ReadString("DNSRember_Allow", "20250601123045678", ""), c.rememberedAllow);
    EXPECT_EQ(ini.ReadString("DNSRember_Stop", "20250601123045678", ""), c.rememberedStop);
    if (std::string_view(c.control) == "BtnClose") { EXPECT_EQ(machine.files.Content(kNetwarden), before); }
  }
}

TEST(DnsChangeNoticeActions, SettingsStartNetwardenOnlyWhenItIsThere) {
  FakePlatform machine;
  SeedAdapter(machine.registry, "1.1.1.1");
  Notice notice(machine);
  bool hidden = false;
  notice.notice.hideWindow = [&] { hidden = true; };
  ASSERT_FALSE(testing::EndsProcess([&] { notice.notice.FormCreate(); }));
  notice.notice.FormShow();
  EXPECT_FALSE(testing::EndsProcess([&] { notice.Click("btnSetting"); }));  // not installed: nothing happens
  EXPECT_TRUE(machine.shell.executed.empty());
  EXPECT_FALSE(hidden);
  machine.files.AddFile(kNetwardenExe, "MZ");
  EXPECT_TRUE(testing::EndsProcess([&] { notice.Click("btnSetting"); }));
  EXPECT_TRUE(hidden);
  EXPECT_FALSE(notice.notice.Form().visible);
  ASSERT_EQ(machine.shell.executed.size(), 1u);
  const auto& run = machine.shell.executed[0];
  EXPECT_EQ(std::tie(run.verb, run.file, run.parameters), std::make_tuple("open", kNetwardenExe, "/StartDNS"));
  EXPECT_EQ(machine.clock.sleeps, (std::vector<std::uint32_t>{1000}));
}

}  // namespace
}  // namespace bootmark
