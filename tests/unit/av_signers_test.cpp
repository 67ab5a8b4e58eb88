// The signers of installed antivirus products: where each product's folder is
// read from, and the list built from the programs found there.
#include "common/av_signers.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

constexpr const char* kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Guard";
constexpr const char* kLocation = "80000002\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Guard";

TEST(AVInstallFolder, TakesTheFirstValueThatNamesAFolder) {
  const struct {
    const char* name;
    std::vector<std::pair<std::string, std::string>> values;
    const char* folder;
    RegistryView view = RegistryView::Registry32;
    const char* location = kLocation;
  } cases[] = {
      {"install location", {{"InstallLocation", "C:\\Guard"}, {"UninstallString", "D:\\u.exe"}}, "C:\\Guard\\"},
      {"uninstall program when the location is relative",
       {{"InstallLocation", "Guard"}, {"UninstallString", "\"C:\\Guard\\Bin\\uninst.EXE\""}}, "C:\\Guard\\Bin\\"},
      {"uninstall command with switches kept whole", {{"UninstallString", "C:\\Guard\\u.exe /S"}},
       "C:\\Guard\\u.exe /S\\"},
      {"icon", {{"UninstallString", "msiexec /x{1}"}, {"DisplayIcon", "C:\\Guard\\g.exe"}}, "C:\\Guard\\"},
      {"nothing on a drive", {{"InstallLocation", "Guard"}, {"DisplayIcon", "g.exe"}}, ""},
      {"64-bit view when the 32-bit one has no entry", {{"InstallLocation", "C:\\Guard64\\"}}, "C:\\Guard64\\",
       RegistryView::Registry64},
      {"unknown root number", {{"InstallLocation", "C:\\Guard"}}, "", RegistryView::Registry32,
       "80000009\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Guard"},
      {"no backslash", {{"InstallLocation", "C:\\Guard"}}, "", RegistryView::Registry32, "80000002"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::FakePlatform fake;
    fake.registry.AddKey(RegistryRoot::LocalMachine, kEntry, c.view);
    for (const auto& [name, value] : c.values) {
      fake.registry.SetString(RegistryRoot::LocalMachine, kEntry, name, value, c.view);
    }
    EXPECT_EQ(GetAVInstallFolder(fake.platform, c.location), c.folder);
  }
}

TEST(AVSignerList, ListsEachSignerOnceWithItsIncForm) {
  testing::FakePlatform fake;
  std::string definitions;
  const struct {
    const char* product;
    const char* folder;      // empty: the entry names none
    const char* program;     // empty: the folder holds none
    const char* signer;
  } products[] = {
      {"Alpha", "C:\\Alpha\\", "a.exe", " Alpha Soft "},
      {"Beta", "C:\\Beta\\", "b.exe", "ALPHA SOFT"},  // the same signer again
      {"Gamma", "C:\\Gamma\\", "g.exe", ""},          // an unsigned program
      {"Delta", "C:\\Delta\\", "", ""},              // no program
      {"Omega", "", "", ""},                         // no folder
  };
  for (const auto& p : products) {
    definitions += "[P_" + std::string(p.product) + "]\r\nDisplayName='" + p.product + "'\r\n";
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::string(p.product);
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "DisplayName", p.product);
    if (*p.folder != '\0') {
      fake.registry.SetString(RegistryRoot::LocalMachine, key, "InstallLocation", p.folder);
      fake.files.AddDirectory(p.folder);
    }
    if (*p.program != '\0') {
      const std::string program = std::string(p.folder) + p.program;
      fake.files.AddFile(program, "MZ");
      fake.files.AddFile(std::string(p.folder) + "readme.txt", "x");
      fake.signer.signers[program] = p.signer;
    }
  }
  fake.files.AddFile("C:\\Program Files\\Tarvo\\Kestrune\\DetectionEx.ini", definitions);

  const std::vector<std::string> expected{"alpha soft", "alpha soft, inc"};
  EXPECT_EQ(GetAVSignerList(fake.platform, false), expected);
  EXPECT_TRUE(IsAVSoftwareSigner(fake.platform, false, "Alpha Soft, Inc"));
  EXPECT_TRUE(IsAVSoftwareSigner(fake.platform, false, "ALPHA SOFT"));
  EXPECT_FALSE(IsAVSoftwareSigner(fake.platform, false, "Alpha Soft Inc"));
  EXPECT_FALSE(IsAVSoftwareSigner(fake.platform, false, ""));
}

}  // namespace
}  // namespace bootmark
