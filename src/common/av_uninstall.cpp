#include "common/av_uninstall.h"

#include <cstdio>
#include <random>
#include <stdexcept>

#include "base/path.h"
#include "base/text.h"
#include "common/av_match.h"
#include "common/data_dirs.h"
#include "common/registry_values.h"

namespace bootmark {
namespace {

constexpr std::string_view kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr std::string_view kUninstallWow = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// Without this service key the product named below is not counted as installed.
constexpr std::string_view kCmderdService = "SYSTEM\\CurrentControlSet\\services\\cmderd";
constexpr std::string_view kCmderdProduct = "COMODO Internet Security";

// Keys of a product section that describe the product rather than match it.
bool IsReservedKey(std::string_view key) {
  for (std::string_view name : {"Enable", "NotUnInst", "Reg_Path", "URL", "Help_Ver_DispVer", "Help_Ver_NameVer",
                                "DeleteReg"}) {
    if (SameText(key, name)) return true;
  }
  return StartsWithIgnoreCase(key, "URL_") || StartsWith(key, "#");
}

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
  return UpperCaseOrdinal(text).find(UpperCaseOrdinal(part)) != std::string::npos;
}

std::string RootHex(RegistryRoot root) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(root));
  return hex;
}

std::string RandomNumberText() {
  std::random_device device;
  return std::to_string(std::uniform_int_distribution<std::uint32_t>(0, 99999999)(device));
}

}  // namespace

// One uninstall entry: its open key and where it is.
struct TAVUninstall::Entry {
  IRegistryKey& key;
  RegistryRoot root;
  std::string path;     // of the entry's key, below the root
  std::string keyName;  // the last part of the path

  std::string Text(std::string_view name) const { return ReadRegistryString(key, name).value_or(""); }
  bool WindowsInstaller() const { return ReadRegistryDword(key, "WindowsInstaller") == 1u; }
};

TAVUninstall::TAVUninstall(const Platform& platform, SystemInfo& system, std::string_view folder)
    : TAVUninstall(platform.files, platform.registry, system.IsWow64(),
                   folder.empty() ? ProgramDir(platform.environment) : std::string(folder)) {}

TAVUninstall::TAVUninstall(IFileSystem& files, IRegistry& registry, bool on64BitWindows, std::string_view folder)
    : files_(files),
      registry_(registry),
      on64BitWindows_(on64BitWindows),
      fileName_(IncludeTrailingBackslash(folder) + std::string(kDetectionFileName)),
      definitions_(files) {
  definitions_.LoadFromFile(fileName_);
  if (definitions_.LastError() == 0) return;
  // Another program holds the file in a way that keeps readers out: read a copy.
  const std::string copy = fileName_ + "." + RandomNumberText();
  if (!files_.CopyFile(fileName_, copy, false)) {
    throw std::runtime_error("backup file " + fileName_ + " failed.");
  }
  definitions_.LoadFromFile(copy);
  files_.DeleteFile(copy);
}

const TAVProdItem* TAVUninstall::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &items_[static_cast<std::size_t>(index)];
}

RegistryView TAVUninstall::View() const {
  return on64BitWindows_ ? RegistryView::Registry64 : RegistryView::Default;
}

std::vector<std::string> TAVUninstall::ProductSections() const {
  std::vector<std::string> sections;
  for (std::string& name : definitions_.ReadSections()) {
    if (StartsWithIgnoreCase(name, "P_")) sections.push_back(std::move(name));
  }
  return sections;
}

bool TAVUninstall::SectionEnabled(std::string_view section) const {
  return definitions_.ReadString(section, "Enable", "1") == "1";
}

bool TAVUninstall::Load() {
  if (loaded_) return false;
  loaded_ = true;
  items_.clear();
    ScanUninstallKey(RegistryRoot::LocalMachine, kUninstall);
  if (on64BitWindows_) ScanUninstallKey(RegistryRoot::LocalMachine, kUninstallWow);
  if (auto users = registry_.OpenKey(RegistryRoot::Users, "", registry_access::kRead, View())) {
    for (const std::string& user : users->SubKeyNames()) {
      ScanUninstallKey(RegistryRoot::Users, user + "\\" + std::string(kUninstall));
      if (on64BitWindows_) ScanUninstallKey(RegistryRoot::Users, user + "\\" + std::string(kUninstallWow));
    }
  }
  if (items_.empty()) {
    for (const std::string& section : ProductSections()) ScanRegPath(section);
  }
  if (!registry_.OpenKey(RegistryRoot::LocalMachine, kCmderdService, registry_access::kRead, View())) {
    std::erase_if(items_, [](const TAVProdItem& item) { return SameText(item.name, kCmderdProduct); });
  }
  return true;
}

void TAVUninstall::ScanUninstallKey(RegistryRoot root, std::string_view path) {
  const std::vector<std::string> sections = ProductSections();
  const std::string base = ExcludeTrailingBackslash(path);
  auto uninstall = registry_.OpenKey(root, base, registry_access::kRead, View());
  if (!uninstall) return;
  for (const std::string& keyName : uninstall->SubKeyNames()) {
    const std::string entryPath = base + "\\" + keyName;
    auto key = registry_.OpenKey(root, entryPath, registry_access::kRead, View());
    if (!key) continue;
    const Entry entry{*key, root, entryPath, keyName};
    if (RefreshListed(entry)) continue;
    std::string publisher = entry.Text("Publisher");
    if (publisher.empty()) publisher = entry.Text("DisplayName");
    if (publisher.empty()) continue;
    for (const std::string& section : sections) {
      if (!ContainsIgnoreCase(publisher, std::string_view(section).substr(2))) continue;
      if (SectionEnabled(section) && definitions_.ReadString(section, "NotUnInst", "") != "1") {
        MatchSection(section, entry);
      }
      break;  // only the first section of the publisher decides
    }
  }
}

void TAVUninstall::ScanRegPath(std::string_view section) {
  if (!SectionEnabled(section)) return;
  const std::string regPath = definitions_.ReadString(section, "Reg_Path", "");
  if (regPath.empty()) return;
  const std::size_t slash = regPath.find('\\');
  const std::optional<RegistryRoot> root = ParseRegistryRootName(std::string_view(regPath).substr(0, slash));
  if (!root) return;
  const std::string path = slash == std::string::npos ? std::string() : regPath.substr(slash + 1);
  auto key = registry_.OpenKey(*root, path, registry_access::kRead, View());
  if (!key) return;
  const Entry entry{*key, *root, path, ExtractFileName(ExcludeTrailingBackslash(path))};
  if (!RefreshListed(entry)) MatchSection(section, entry);
}

namespace {

// The uninstall data of a product from its entry.
void SetUninstallData(TAVProdItem& item, const std::string& uninstallString, bool windowsInstaller,
                      const std::string& keyName) {
  item.uninstallCommand = uninstallString;
  if (item.uninstallCommand.empty() && windowsInstaller) item.uninstallCommand = "msiexec.exe /x " + keyName;
  item.isMsi = windowsInstaller || ContainsIgnoreCase(item.uninstallCommand, "msiexec.exe");
  item.noUninstaller = item.uninstallCommand.empty();
}

}  // namespace

bool TAVUninstall::RefreshListed(const Entry& entry) {
  const std::string displayName = entry.Text("DisplayName");
  for (TAVProdItem& item : items_) {
    if (SameText(item.name, displayName)) {
      SetUninstallData(item, entry.Text("UninstallString"), entry.WindowsInstaller(), entry.keyName);
      return true;
    }
  }
  return false;
}

bool TAVUninstall::MatchSection(std::string_view section, const Entry& entry) {
  for (const std::string& key : definitions_.ReadSection(section)) {
    if (IsReservedKey(key)) continue;
    const std::string value = entry.Text(key);
    const std::string expression = definitions_.ReadString(section, key, "");
    if (value.empty() || expression.empty() || !EvaluateMatch(expression, value)) continue;
    TAVProdItem item;
    item.name = entry.Text("DisplayName");
    if (item.name.empty()) item.name = std::string(section.substr(2));
    item.version = entry.Text("DisplayVersion");
    SetUninstallData(item, entry.Text("UninstallString"), entry.WindowsInstaller(), entry.keyName);
    item.helpText = definitions_.ReadString(section, "URL", "");
    item.registryLocation = RootHex(entry.root) + "\\" + entry.path;
    items_.push_back(std::move(item));
    return true;
  }
  return false;
}

}  // namespace bootmark
