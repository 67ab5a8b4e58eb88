// Arbitrary "DetectionEx.ini" bytes (after the input's first line) and an arbitrary
// install location of the uninstall entries (the first line): the signer list of
// the installed antivirus products must never crash or hang, and holds each
// signer followed by its ", inc" form.
// fuzz-max-len: 65536
#include "common/av_signers.h"
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"

constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

BOOTMARK_FUZZ_TARGET(input) {
  const auto [location, definitions] = fuzz::SplitFirstLine(input);

  testing::FakePlatform fake;
  fake.files.AddFile("C:\\Program Files\\Tarvo\\Kestrune\\DetectionEx.ini", definitions);
  fake.files.AddFile("C:\\Guard\\guard.exe", "MZ");
  fake.files.AddFile("C:\\Guard\\Bin\\tool.exe", "MZ");
  fake.signer.signers["C:\\Guard\\guard.exe"] = " Guard Labs ";
  fake.signer.signers["C:\\Guard\\Bin\\tool.exe"] = "GUARD LABS";
  for (const char* product : {"Guard", "Guard Pro", "Other"}) {
    const std::string key = std::string(kUninstall) + product;
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "DisplayName", product);
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "Publisher", "Guard Labs");
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "InstallLocation", location);
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "UninstallString", "C:\\Guard\\Bin\\u.exe");
  }

  const std::vector<std::string> signers = GetAVSignerList(fake.platform, false);
  Check(signers.size() % 2 == 0);
  for (std::size_t i = 0; i < signers.size(); i += 2) {
    Check(signers[i + 1] == signers[i] + ", inc");
  }
  GetAVInstallFolder(fake.platform, location);
}
