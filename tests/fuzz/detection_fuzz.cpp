// Arbitrary bytes as "DetectionEx.ini" against a machine with a few uninstall
// entries: reading the definitions and detecting the products must never crash,
// hang or throw, the list loads once, and each product it counts is there.
// fuzz-max-len: 65536
#include "common/av_uninstall.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_registry.h"
#include "fuzz/fuzz_target.h"

constexpr const char* kFolder = "C:\\Program Files\\Tarvo\\Kestrune\\";
constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const char* kUninstallWow = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

void AddEntry(FakeRegistry& registry, RegistryRoot root, const std::string& path, const char* name,
              const char* publisher, const char* uninstall, bool msi) {
  registry.SetString(root, path, "DisplayName", name, RegistryView::Registry64);
  registry.SetString(root, path, "Publisher", publisher, RegistryView::Registry64);
  registry.SetString(root, path, "DisplayVersion", "1.0", RegistryView::Registry64);
  if (*uninstall != '\0') registry.SetString(root, path, "UninstallString", uninstall, RegistryView::Registry64);
  if (msi) registry.SetDword(root, path, "WindowsInstaller", 1, RegistryView::Registry64);
}

BOOTMARK_FUZZ_TARGET(input) {
  FakeFileSystem files;
  files.AddFile(std::string(kFolder) + "DetectionEx.ini", input);
  FakeRegistry registry;
  const RegistryRoot hklm = RegistryRoot::LocalMachine;
  AddEntry(registry, hklm, std::string(kUninstall) + "ExampleAV", "Example Antivirus", "Example Security Ltd.",
           "C:\\ex\\uninst.exe", false);
  AddEntry(registry, hklm, std::string(kUninstallWow) + "{6B29FC40}", "example antivirus", "Example Security",
           "", true);
  AddEntry(registry, hklm, std::string(kUninstall) + "CIS", "COMODO Internet Security", "COMODO", "", false);
  AddEntry(registry, RegistryRoot::Users, "S-1-5-21-1\\" + std::string(kUninstall) + "Guard", "Tarvo Guard", "",
           "MsiExec.exe /X{1}", false);
  AddEntry(registry, hklm, "SOFTWARE\\Tarvo\\Netwarden", "", "Tarvo", "C:\\nw\\unins000.exe", false);

  try {
    TAVUninstall list(files, registry, true, kFolder);
    Check(list.Load());
    Check(!list.Load());
    for (int i = 0; i < list.Count(); ++i) Check(list.Item(i) != nullptr);
    Check(list.Item(list.Count()) == nullptr);
  } catch (const std::runtime_error&) {
    std::abort();  // the file is readable: only an unreadable one may throw
  }
}
