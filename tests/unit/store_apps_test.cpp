// Store apps: "ms-resource:" texts through the shell with their fall-backs, and
// the package search of the interactive user over a fake machine.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "startup/store_apps.h"
#include "startup/store_manifest.h"

namespace bootmark {
namespace {

constexpr const char* kFull = "Maker.App_1.0_x64__abc";

TEST(StoreManifest, ResourceStringsTryEachSpellingThenTheIdentityName) {
  testing::FakeShell shell;
  for (const char* known : {"ms-resource://Maker.App/Resources/Name", "ms-resource://Short/Form", "ms-resource:/Bare/Form"}) {
    shell.indirectStrings["@{" + std::string(kFull) + "?" + known + "}"] = "Resolved";
  }
  const std::pair<const char*, const char*> kCases[] = {
      {"MS-RESOURCE:Name", "Resolved"},           // gains the package's resource path
      {"ms-resource:/Short/Form", "Resolved"},    // as it is, then as the full form
      {"ms-resource:Bare/Form", "Resolved"},      // as it is, full form, short form
      {"ms-resource://Short/Other", "Maker.App"}, // unresolved: the identity name
      {"@{Other?ms-resource:x}", ""},
      {"Plain name", "Plain name"},
  };
  for (const auto& [text, expected] : kCases) EXPECT_EQ(ResolveResourceString(shell, text, "Maker.App", kFull), expected) << text;
}

constexpr const char* kSid = "S-1-5-21-1-2-3-1001";
constexpr const char* kApps =
    "S-1-5-21-1-2-3-1001\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\"
    "AppModel\\SystemAppData\\";

std::string Manifest(const std::string& visual, const std::string& extra = "") {
  return "<Package><Identity Name=\"Id\"/><Applications><Application Id=\"App\">" + visual +
         "<Extensions><Extension Category=\"Windows.StartupTask\" Executable=\"run.exe\"><StartupTask "
         "TaskId=\"T\" DisplayName=\"Task\"/></Extension><Extension Category=\"other\"><X TaskId=\"no\"/>"
         "</Extension></Extensions></Application></Applications>" + extra + "</Package>";
}

TEST(StoreApps, PackagesOfTheInteractiveUserWithTheirStartupTasks) {
  testing::FakePlatform fake;
  fake.processes.running = {{7, "explorer.exe", 0}, {9, "EXPLORER.EXE", 1}};
  fake.processes.userSids = {{7, "S-1-5-18"}, {9, kSid}};
  fake.shell.folders[csidl::kProgramFiles] = "C:\\Program Files (x86)";
  const std::string visual = "<uap:VisualElements DisplayName=\"App name\" Square44x44Logo=\"logo.png\"/>";
  const struct {
    const char* family;
    const char* folder;  // under WindowsApps, or SystemApps when it starts with "S:"
    std::string manifest;
  } kPackages[] = {
      {"Maker.Tray_abc", "Maker.Tray_1.0_x64__abc", Manifest(visual)},
      {"Maker.Sys_abc", "S:Maker.Sys_abc", Manifest(visual)},
      {"Maker.Sys_abc", "Maker.Sys_2.0_x64__abc", Manifest(visual) + std::string(4 << 20, ' ')},  // too big: skipped
      {"Maker.Plain_abc", "Maker.Plain_1.0_x64__abc", Manifest("")},  // no visual elements
      {"Maker.Edge_abc", "Maker.Edge_1.0_x64__abc", Manifest(visual, "<!-- com.microsoft.edge.extension -->")},
      {"windows_ie_ac_001", "windows_ie_ac_001", Manifest(visual)},
  };
  for (const auto& p : kPackages) {
    const bool system = p.folder[0] == 'S';
    const std::string folder = (system ? "C:\\Windows\\SystemApps\\" : "C:\\Program Files\\WindowsApps\\") +
                               std::string(system ? p.folder + 2 : p.folder);
    fake.files.AddFile(folder + "\\AppxManifest.xml", p.manifest);
    fake.registry.AddKey(RegistryRoot::Users, std::string(kApps) + p.family + "\\SplashScreen\\" + p.family + "!App",
                         RegistryView::Registry64);
  }
  SystemInfo system(fake.platform);
  const bool stop = false;
  const std::vector<StoreStartupTask> tasks = GetStoreStartupTasks(fake.platform, system, stop);
  ASSERT_EQ(tasks.size(), 2u);
  EXPECT_EQ(tasks[0].appUserModelId, "Maker.Sys_abc!App");
  EXPECT_EQ(tasks[0].installFolder, "C:\\Windows\\SystemApps\\Maker.Sys_abc\\");
  const StoreStartupTask& tray = tasks[1];
  EXPECT_EQ(tray.appUserModelId, "Maker.Tray_abc!App");
  EXPECT_EQ(tray.installFolder, "C:\\Program Files\\WindowsApps\\Maker.Tray_1.0_x64__abc\\");
  EXPECT_EQ((std::vector<std::string>{tray.taskId, tray.executable, tray.logo, tray.appDisplayName,
                                      tray.taskDisplayName}),
            (std::vector<std::string>{"T", "run.exe", "logo.png", "App name", "Task"}));
}

}  // namespace
}  // namespace bootmark
