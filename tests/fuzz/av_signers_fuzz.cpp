// Arbitrary "DetectionEx.ini" bytes (after the input's first line) and an arbitrary
// install location of some uninstall entries (the first line), against a machine
// with uninstall entries of each kind: reading the definitions, detecting the
// products and listing the signers of the installed antivirus products must never
// crash, hang or throw; the list loads once and each product it counts is there.
// fuzz-max-len: 65536
#include "common/av_signers.h"
#include "common/av_uninstall.h"
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"

constexpr const char* kFolder = "C:\\Program Files\\Tarvo\\Kestrune\\";
constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

void AddEntry(FakeRegistry& registry, RegistryRoot root, const std::string& path, const char* name,
              const char* publisher, const std::string& location, const char* uninstall, bool msi) {
  registry.SetString(root, path, "DisplayName", name, RegistryView::Registry64);
  registry.SetString(root, path, "Publisher", publisher, RegistryView::Registry64);
  registry.SetString(root, path, "DisplayVersion", "1.0", RegistryView::Registry64);
  if (!location.empty()) registry.SetString(root, path, "InstallLocation", location, RegistryView::Registry64);
  if (*uninstall != '\0') registry.SetString(root, path, "UninstallString", uninstall, RegistryView::Registry64);
  if (msi) registry.SetDword(root, path, "WindowsInstaller", 1, RegistryView::Registry64);
}

BOOTMARK_FUZZ_TARGET(input) {
  const auto [location, definitions] = fuzz::SplitFirstLine(input);

  testing::FakePlatform fake;
  fake.files.AddFile(std::string(kFolder) + "DetectionEx.ini", definitions);
  fake.files.AddFile("C:\\Guard\\guard.exe", "MZ");
  fake.files.AddFile("C:\\Guard\\Bin\\tool.exe", "MZ");
  fake.signer.signers["C:\\Guard\\guard.exe"] = " Guard Labs ";
  fake.signer.signers["C:\\Guard\\Bin\\tool.exe"] = "GUARD LABS";
  FakeRegistry& registry = fake.registry;
  const RegistryRoot hklm = RegistryRoot::LocalMachine;
  for (const char* product : {"Guard", "Guard Pro", "Other"}) {
    AddEntry(registry, hklm, std::string(kUninstall) + product, product, "Guard Labs", location,
             "C:\\Guard\\Bin\\u.exe", false);
  }
  AddEntry(registry, hklm, std::string(kUninstall) + "ExampleAV", "Example Antivirus", "Example Security Ltd.", "",
           "C:\\ex\\uninst.exe", false);
  AddEntry(registry, hklm, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{6B29FC40}",
           "example antivirus", "Example Security", "", "", true);
  AddEntry(registry, hklm, std::string(kUninstall) + "CIS", "COMODO Internet Security", "COMODO", "", "", false);
  AddEntry(registry, RegistryRoot::Users, "S-1-5-21-1\\" + std::string(kUninstall) + "Tarvo", "Tarvo Guard", "", "",
           "MsiExec.exe /X{1}", false);
  AddEntry(registry, hklm, "SOFTWARE\\Tarvo\\Netwarden", "", "Tarvo", "", "C:\\nw\\unins000.exe", false);

  try {
    TAVUninstall list(fake.files, registry, true, kFolder);
    Check(list.Load());
    Check(!list.Load());
    for (int i = 0; i < list.Count(); ++i) Check(list.Item(i) != nullptr);
    Check(list.Item(list.Count()) == nullptr);
  } catch (const std::runtime_error&) {
    std::abort();  // the file is readable: only an unreadable one may throw
  }

  GetAVSignerList(fake.platform, false);
  GetAVInstallFolder(fake.platform, location);
}
