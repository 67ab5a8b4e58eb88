#include "common/av_uninstall.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

using testing::FakePlatform;
using ::testing::ThrowsMessage;

constexpr const char* kDefinitions = "C:\\Program Files\\Tarvo\\Kestrune\\DetectionEx.ini";
constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kUninstallWow = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

constexpr const char* kExampleSection =
    "[P_Example Security]\r\n"
    "Enable=1\r\n"
    "URL=https://example.test/help\r\n"
    "URL_Old='example'\r\n"
    "#Note='example'\r\n"
    "DisplayName='example' & not 'trial'\r\n";

struct UninstallEntry {
  std::string displayName;
  std::string publisher;
  std::string uninstallString;
  std::optional<std::uint32_t> windowsInstaller;
  std::string version;
};

// A fake machine with uninstall entries and a definitions file.
struct Machine {
  void Define(const std::string& text) { fake.files.AddFile(kDefinitions, text); }

  void AddEntry(RegistryRoot root, const std::string& uninstallKey, const std::string& name,
                const UninstallEntry& entry, RegistryView view = RegistryView::Registry64) {
    const std::string path = uninstallKey + "\\" + name;
    fake.registry.AddKey(root, path, view);
    auto set = [&](const char* value, const std::string& text) {
      if (!text.empty()) fake.registry.SetString(root, path, value, text, view);
    };
    set("DisplayName", entry.displayName);
    set("Publisher", entry.publisher);
    set("UninstallString", entry.uninstallString);
    set("DisplayVersion", entry.version);
    if (entry.windowsInstaller) fake.registry.SetDword(root, path, "WindowsInstaller", *entry.windowsInstaller, view);
  }
  void AddEntry(const std::string& name, const UninstallEntry& entry) {
    AddEntry(RegistryRoot::LocalMachine, kUninstall, name, entry);
  }

  std::vector<std::string> Detect() {
    SystemInfo system(fake.platform);
    TAVUninstall list(fake.platform, system);
    EXPECT_TRUE(list.Load());
    EXPECT_FALSE(list.Load());
    items.clear();
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) {
      items.push_back(*list.Item(i));
      names.push_back(items.back().name);
    }
    EXPECT_EQ(list.Item(list.Count()), nullptr);
    EXPECT_EQ(list.Item(-1), nullptr);
    return names;
  }

  FakePlatform fake;
  std::vector<TAVProdItem> items;
};

class AVUninstall : public ::testing::Test, protected Machine {};

using Names = std::vector<std::string>;

TEST_F(AVUninstall, MatchExpressionsDecideOverEntriesOfThePublisher) {
  Define(kExampleSection);
  AddEntry("ExampleAV", {"Example Antivirus", "Example Security Ltd.", "C:\\ex\\uninst.exe", {}, "5.1"});
  AddEntry("ExampleTrial", {"Example Antivirus Trial", "Example Security Ltd.", "x", {}, ""});
  AddEntry("Other", {"Example Antivirus", "Someone Else", "y", {}, ""});  // refreshes the product found first
  AddEntry("NoPublisher", {"", "", "z", {}, ""});
  AddEntry("Fallback", {"Example Security Antivirus", "", "u", {}, ""});  // the name stands for the publisher
  EXPECT_EQ(Detect(), (Names{"Example Antivirus", "Example Security Antivirus"}));
  const TAVProdItem& item = items[0];
  EXPECT_EQ(item.version, "5.1");
  EXPECT_EQ(item.helpText, "https://example.test/help");
  EXPECT_EQ(item.registryLocation,
            "80000002\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ExampleAV");
  // "Other" has the same display name: only the uninstall data came from it.
  EXPECT_EQ(item.uninstallCommand, "y");
}

TEST_F(AVUninstall, EveryUninstallKeyIsScannedOnceForEachProductName) {
  Define(std::string(kExampleSection) + "[p_Tarvo]\r\nDisplayName='guard'\r\n");
  AddEntry(RegistryRoot::LocalMachine, kUninstall, "ExampleAV", {"Example Antivirus", "Example Security", "a", {}, "1"});
  AddEntry(RegistryRoot::LocalMachine, kUninstallWow, "ExampleAV32",
           {"EXAMPLE ANTIVIRUS", "Example Security", "", 1u, "1"});
  AddEntry(RegistryRoot::Users, "S-1-5-21-7\\" + std::string(kUninstall), "Guard",
           {"Tarvo Guard", "Tarvo Ltd.", "", {}, "2"});
  AddEntry(RegistryRoot::Users, "S-1-5-21-8\\" + std::string(kUninstallWow), "Guard32",
           {"Tarvo Guard 32", "Tarvo Ltd.", "MsiExec.exe /X{1}", {}, "2"});
  EXPECT_EQ(Detect(), (Names{"Example Antivirus", "Tarvo Guard", "Tarvo Guard 32"}));
  // The 32-bit entry of the same product refreshed its uninstall data.
  EXPECT_EQ(items[0].uninstallCommand, "msiexec.exe /x ExampleAV32");
  EXPECT_TRUE(items[0].isMsi);
  EXPECT_FALSE(items[0].noUninstaller);
  EXPECT_EQ(items[1].registryLocation,
            "80000003\\S-1-5-21-7\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Guard");
  EXPECT_TRUE(items[1].noUninstaller);
  EXPECT_FALSE(items[1].isMsi);
  EXPECT_TRUE(items[2].isMsi);
}

TEST_F(AVUninstall, ThirtyTwoBitWindowsHasNoWow6432NodeScan) {
  fake.registry.is64BitWindows = false;
  fake.wow64.currentProcessIsWow64 = false;
  Define(kExampleSection);
  AddEntry(RegistryRoot::LocalMachine, kUninstallWow, "ExampleAV", {"Example Antivirus", "Example Security", "a", {}, ""},
           RegistryView::Default);
  EXPECT_EQ(Detect(), Names{});
  AddEntry(RegistryRoot::LocalMachine, kUninstall, "ExampleAV", {"Example Antivirus", "Example Security", "a", {}, ""},
           RegistryView::Default);
  EXPECT_EQ(Detect(), Names{"Example Antivirus"});
}

TEST_F(AVUninstall, SectionsAndTheirSwitches) {
  const struct {
    const char* name;
    const char* definitions;  // nullptr: no definitions file
    Names expected;
  } cases[] = {
      {"no definitions file", nullptr, {}},
      {"only P_ sections define products", "[Example Security]\r\nDisplayName='example'\r\n", {}},
      {"Enable must be exactly 1", "[P_Example Security]\r\nEnable=01\r\nDisplayName='example'\r\n", {}},
      {"Enable defaults to 1", "[P_Example Security]\r\nDisplayName='example'\r\n", {"Example Antivirus"}},
      {"the first section of the publisher decides",
       "[P_Example]\r\nEnable=0\r\nDisplayName='example'\r\n[P_Example Security]\r\nDisplayName='example'\r\n", {}},
      {"not in the uninstall scan", "[P_Example Security]\r\nNotUnInst=1\r\nDisplayName='example'\r\n", {}},
      {"reserved keys never match",
       "[P_Example Security]\r\nURL='example'\r\nURL_9='example'\r\nHelp_Ver_DispVer='example'\r\n"
       "Help_Ver_NameVer='example'\r\nDeleteReg='example'\r\n#x='example'\r\nURL_Info='virus'\r\n",
       {}},
      {"a later condition may match",
       "[P_Example Security]\r\nDisplayName='nothing'\r\nComments='virus'\r\nDisplayVersion='5.'\r\n",
       {"Example Antivirus"}},
      {"a condition on a missing value does not match", "[P_Example Security]\r\nHelpLink='x'\r\n", {}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    Machine machine;
    if (test.definitions != nullptr) machine.Define(test.definitions);
    machine.AddEntry("ExampleAV", {"Example Antivirus", "Example Security Ltd.", "u", {}, "5.0"});
    machine.fake.registry.SetString(RegistryRoot::LocalMachine, std::string(kUninstall) + "\\ExampleAV",
                                    "Comments", "Anti-virus", RegistryView::Registry64);
    machine.fake.registry.SetString(RegistryRoot::LocalMachine, std::string(kUninstall) + "\\ExampleAV",
                                    "URL_Info", "Anti-virus", RegistryView::Registry64);
    EXPECT_EQ(machine.Detect(), test.expected);
  }
}

TEST_F(AVUninstall, FallBackScanByRegPathOnlyWhenNothingWasFound) {
  const std::string definitions =
      "[P_Netwarden]\r\nNotUnInst=1\r\nReg_Path=HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarvo\\Netwarden\r\n"
      "ProductName='netwarden'\r\n"
      "[P_Bad Root]\r\nReg_Path=HKLM\\SOFTWARE\\Tarvo\\Netwarden\r\nProductName='netwarden'\r\n"
      "[P_Off]\r\nEnable=0\r\nReg_Path=HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarvo\\Netwarden\r\nProductName='net'\r\n";
  Define(definitions);
  fake.registry.SetString(RegistryRoot::LocalMachine, "SOFTWARE\\Tarvo\\Netwarden", "ProductName", "Netwarden Pro",
                          RegistryView::Registry64);
  fake.registry.SetString(RegistryRoot::LocalMachine, "SOFTWARE\\Tarvo\\Netwarden", "UninstallString",
                          "C:\\nw\\unins000.exe", RegistryView::Registry64);
  // No DisplayName: the product takes the section's name.
  EXPECT_EQ(Detect(), Names{"Netwarden"});
  EXPECT_EQ(items[0].registryLocation, "80000002\\SOFTWARE\\Tarvo\\Netwarden");
  EXPECT_EQ(items[0].uninstallCommand, "C:\\nw\\unins000.exe");

  // Once the uninstall scan finds anything, the fall-back scan does not run.
  Define(definitions + kExampleSection);
  AddEntry("ExampleAV", {"Example Antivirus", "Example Security", "u", {}, ""});
  EXPECT_EQ(Detect(), Names{"Example Antivirus"});
}

TEST_F(AVUninstall, CmderdServiceDecidesOverThatProduct) {
  Define("[P_COMODO]\r\nDisplayName='internet security'\r\n");
  AddEntry("CIS", {"COMODO Internet Security", "COMODO", "u", {}, ""});
  AddEntry("CIS2", {"Comodo Internet Security Premium", "COMODO", "u", {}, ""});
  EXPECT_EQ(Detect(), Names{"Comodo Internet Security Premium"});
  fake.registry.AddKey(RegistryRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\services\\cmderd",
                       RegistryView::Registry64);
  EXPECT_EQ(Detect(), (Names{"COMODO Internet Security", "Comodo Internet Security Premium"}));
}

// The file can be copied but not opened for reading (another program holds it).
class CopyOnlyFileSystem : public FakeFileSystem {
 public:
  Result<std::string> ReadAll(std::string_view path) override {
    if (SameText(path, kDefinitions)) return SystemError{kErrorSharingViolation};
    return FakeFileSystem::ReadAll(path);
  }
};

TEST_F(AVUninstall, DefinitionsAreReadThroughATemporaryCopyElseAreAnError) {
  CopyOnlyFileSystem files;
  files.AddFile(kDefinitions, kExampleSection);
  AddEntry("ExampleAV", {"Example Antivirus", "Example Security", "u", {}, ""});
  const auto open = [&] { return TAVUninstall(files, fake.registry, true, "C:\\Program Files\\Tarvo\\Kestrune"); };
  TAVUninstall list = open();
  list.Load();
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(files.Files(), std::vector<std::string>{kDefinitions});  // the copy is gone
  files.SetUnreadable(kDefinitions);  // not even a copy can be made
  EXPECT_THAT(open, ThrowsMessage<std::runtime_error>(std::string("backup file ") + kDefinitions + " failed."));
}

}  // namespace
}  // namespace bootmark
