#include "common/av_signers.h"

#include <algorithm>

#include "base/path.h"
#include "base/text.h"
#include "base/utf16_text.h"
#include "common/av_uninstall.h"
#include "common/data_dirs.h"
#include "common/file_signer.h"
#include "common/registry_values.h"

namespace bootmark {
namespace {

constexpr std::size_t kLongPathBuffer = 261;

}  // namespace

std::optional<RegistryRoot> RegistryRootOfNumber(std::string_view number) {
  static constexpr std::pair<std::string_view, RegistryRoot> kRoots[] = {
      {"80000000", RegistryRoot::ClassesRoot},     {"80000001", RegistryRoot::CurrentUser},
      {"80000002", RegistryRoot::LocalMachine},    {"80000003", RegistryRoot::Users},
      {"80000004", RegistryRoot::PerformanceData}, {"80000005", RegistryRoot::CurrentConfig},
      {"80000006", RegistryRoot::DynData},
  };
  for (const auto& [text, root] : kRoots) {
    if (number == text) return root;
  }
  return std::nullopt;
}

namespace {

// A value that names a path on a drive; empty otherwise.
std::string DrivePathValue(IRegistryKey& key, std::string_view name) {
  std::string value = ReadRegistryString(key, name).value_or("");
  return value.find(":\\") == std::string::npos ? std::string() : value;
}

}  // namespace

std::string NormalizeSignerName(std::string_view signer) {
  return Utf16ToUtf8(utf16::LowerAscii(Utf8ToUtf16(Trim(signer))));
}

std::string GetAVInstallFolder(const Platform& platform, std::string_view registryLocation) {
  const std::size_t slash = registryLocation.find('\\');
  if (slash == std::string_view::npos) return {};
  const std::optional<RegistryRoot> root = RegistryRootOfNumber(registryLocation.substr(0, slash));
  if (!root) return {};
  const std::string_view path = registryLocation.substr(slash + 1);

  std::string folder;
  try {
    std::unique_ptr<IRegistryKey> key =
        platform.registry.OpenKey(*root, path, registry_access::kRead, RegistryView::Registry32);
    if (!key) key = platform.registry.OpenKey(*root, path, registry_access::kRead, RegistryView::Registry64);
    if (!key) return {};
    for (const char* name : {"InstallLocation", "UninstallString", "DisplayIcon"}) {
      folder = DrivePathValue(*key, name);
      if (!folder.empty()) break;
    }
    std::erase(folder, '"');
    if (EndsWithIgnoreCase(folder, ".exe")) folder = ExtractFilePath(folder);
    folder = IncludeTrailingBackslash(folder);
  } catch (...) {
    return {};
  }
  if (!folder.empty()) {
    const std::optional<std::string> longName = platform.files.LongPathName(folder);
    if (longName && !longName->empty() && Utf8ToUtf16(*longName).size() < kLongPathBuffer) {
      folder = IncludeTrailingBackslash(*longName);
    }
  }
  return folder;
}

std::vector<std::string> GetAVSignerList(const Platform& platform, bool on64BitWindows) {
  std::vector<std::string> signers;
  const auto add = [&signers](std::string signer) {
    if (std::find(signers.begin(), signers.end(), signer) == signers.end()) signers.push_back(std::move(signer));
  };
  TAVUninstall products(platform.files, platform.registry, on64BitWindows, ProgramDir(platform.environment));
  products.Load();
  for (int i = 0; i < products.Count(); ++i) {
    const std::string folder = GetAVInstallFolder(platform, products.Item(i)->registryLocation);
    if (folder.empty()) continue;
    const std::vector<std::string> programs = platform.files.FindFiles(folder, "*.exe");
    if (programs.empty()) continue;
    const std::string signer = NormalizeSignerName(GetFileSigner(platform.signer, folder + programs.front()));
    if (signer.empty()) continue;
    add(signer);
    add(signer + ", inc");
  }
  return signers;
}

bool IsAVSoftwareSigner(const Platform& platform, bool on64BitWindows, std::string_view signer) {
  const std::vector<std::string> signers = GetAVSignerList(platform, on64BitWindows);
  return std::any_of(signers.begin(), signers.end(),
                     [signer](const std::string& listed) { return SameText(listed, signer); });
}

}  // namespace bootmark
