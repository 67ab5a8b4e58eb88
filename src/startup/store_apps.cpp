#include "startup/store_apps.h"

#include <unordered_set>

#include "base/path.h"
#include "base/text.h"
#include "common/safe_ini_file.h"
#include "startup/store_manifest.h"

namespace bootmark {
namespace {

constexpr std::string_view kAppModelKey =
    "\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\";
constexpr std::string_view kManifestName = "AppxManifest.xml";
// Manifests are some kilobytes; larger files are not read.
constexpr std::uint64_t kMaxManifestBytes = 4 * 1024 * 1024;
constexpr std::uint32_t kRead64 = registry_access::kRead;

bool Contains(std::string_view text, std::string_view what) {
  return UpperCaseOrdinal(text).find(UpperCaseOrdinal(what)) != std::string::npos;
}

bool IsExcludedName(std::string_view name) {
  return SameText(name, "Microsoft.WindowsStore_8wekyb3d8bbwe!App") || SameText(name, "windows_ie_ac_001") ||
         name.find("DefaultBrowser_NOPUBLISHERID") != std::string_view::npos;
}

struct PackageEntry {
  std::string family;
  std::string appId;  // the application user model id, empty when the package named none
  std::string folderName;
  std::string installFolder;
  std::string manifestPath;
};

struct InstallRoot {
  std::string path;  // ends in "\"
  std::vector<std::string> names;
};

// The text of a manifest; empty when it cannot be read.
std::string ManifestText(IFileSystem& files, const std::string& path, std::string& bytes) {
  bytes.clear();
  const std::optional<std::uint64_t> size = files.FileSize(path);
  if (!size || *size > kMaxManifestBytes) return {};
  Result<std::string> read = files.ReadAll(path);
  if (!read) return {};
  bytes = std::move(*read);
  std::string text;
  if (!DecodeFileText(files, bytes, text)) return {};
  return text;
}

// Finds the entry's install folder among the root's folders whose names hold the
// package name; a later match replaces an earlier one. False when the entry must
// be left out (an edge extension).
bool FindInstallFolder(IFileSystem& files, const InstallRoot& root, PackageEntry& entry) {
  const std::string prefix = entry.family.substr(0, entry.family.find('_'));
  bool extension = false;
  for (const std::string& name : root.names) {
    if (!Contains(name, prefix)) continue;
    const std::string manifest = root.path + name + "\\" + std::string(kManifestName);
    if (!files.FileExists(manifest)) continue;
    std::string bytes;
    const std::string text = ManifestText(files, manifest, bytes);
    for (const std::string& line : SplitText(text, "\n")) {
      if (line.find("VisualElements>") != std::string::npos || line.find("<uap:VisualElements") != std::string::npos) {
        entry.folderName = name;
        entry.installFolder = root.path + name + "\\";
        entry.manifestPath = manifest;
      }
      if (line.find("com.microsoft.edge.extension") != std::string::npos) extension = true;
    }
  }
  return !extension;
}

std::vector<PackageEntry> RegisteredPackages(IRegistry& registry, const std::string& sid, const bool& stop) {
  std::unique_ptr<IRegistryKey> apps;
  std::string appsPath;
  for (std::string_view leaf : {"AppModel\\SystemAppData", "Packages"}) {
    appsPath = sid + std::string(kAppModelKey) + std::string(leaf);
    apps = registry.OpenKey(RegistryRoot::Users, appsPath, kRead64, RegistryView::Registry64);
    if (apps) break;
  }
  std::vector<PackageEntry> entries;
  if (!apps) return entries;
  for (const std::string& family : apps->SubKeyNames()) {
    if (stop) break;
    if (IsExcludedName(family)) continue;
    std::vector<std::string> appIds;
    if (const auto splash = registry.OpenKey(RegistryRoot::Users, appsPath + "\\" + family + "\\SplashScreen",
                                             kRead64, RegistryView::Registry64)) {
      appIds = splash->SubKeyNames();
    }
    if (appIds.empty()) entries.push_back({family, "", "", "", ""});
    for (const std::string& appId : appIds) {
      if (!IsExcludedName(appId)) entries.push_back({family, appId, "", "", ""});
    }
  }
  return entries;
}

InstallRoot ListRoot(IFileSystem& files, std::string path) {
  InstallRoot root{std::move(path), {}};
  root.names = files.FindFolders(root.path);
  return root;
}

}  // namespace

std::string InteractiveUserSid(IProcesses& processes) {
  const std::uint32_t console = processes.ActiveConsoleSessionId();
  std::optional<std::string> anyUser;
  for (const ProcessEntry& process : processes.ProcessSnapshot()) {
    if (!SameText(process.exeFile, "explorer.exe")) continue;
    const std::optional<std::string> sid = processes.ProcessUserSid(process.processId);
    if (!sid || sid->empty()) continue;
    if (processes.ProcessSessionId(process.processId) == console) return *sid;
    if (!anyUser) anyUser = sid;
  }
  return anyUser.value_or(std::string());
}

std::vector<StoreStartupTask> GetStoreStartupTasks(const Platform& platform, SystemInfo& system, const bool& stop) {
  std::vector<StoreStartupTask> tasks;
  const std::string sid = InteractiveUserSid(platform.processes);
  if (sid.empty()) return tasks;

  std::string programs = platform.shell.GetSpecialFolderPath(csidl::kProgramFiles);
  if (programs.empty()) return tasks;
  if (system.IsWow64()) programs = ReplaceAll(programs, "Program Files (x86)", "Program Files");
  const InstallRoot windowsApps = ListRoot(platform.files, IncludeTrailingBackslash(programs) + "WindowsApps\\");
  if (windowsApps.names.empty()) return tasks;
  const InstallRoot systemApps =
      ListRoot(platform.files, IncludeTrailingBackslash(system.GetWindowsDir()) + "SystemApps\\");

  std::unordered_set<std::string> folders;
  for (PackageEntry& entry : RegisteredPackages(platform.registry, sid, stop)) {
    if (stop) break;
    if (!FindInstallFolder(platform.files, windowsApps, entry)) continue;
    if (entry.folderName.empty() && !FindInstallFolder(platform.files, systemApps, entry)) continue;
    if (entry.folderName.empty()) continue;
    if (!folders.insert(UpperCaseOrdinal(entry.folderName)).second) continue;
    if (entry.appId.empty()) entry.appId = entry.folderName;

    std::string bytes;
    ManifestText(platform.files, entry.manifestPath, bytes);
    const std::string fullName = entry.folderName;
    const std::optional<StoreManifest> manifest =
        ParseStoreManifest(bytes, [&](std::string_view text, std::string_view identityName) {
          return ResolveResourceString(platform.shell, text, identityName, fullName);
        });
    if (!manifest) continue;
    for (const ManifestStartupTask& task : manifest->startupTasks) {
      tasks.push_back({entry.appId, task.taskId, entry.installFolder, task.executable, task.logo,
                       task.appDisplayName, task.taskDisplayName});
    }
  }
  return tasks;
}

}  // namespace bootmark
