#pragma once
// TAVUninstall: the installed antivirus products, found by matching the entries of
// the Windows "Uninstall" keys against the product definitions the suite ships in
// "DetectionEx.ini".
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/safe_ini_file.h"
#include "common/system_info.h"
#include "platform/platform.h"

namespace bootmark {

inline constexpr std::string_view kDetectionFileName = "DetectionEx.ini";

// One detected product.
struct TAVProdItem {
  // "DisplayName", or the section name without "P_" when that is empty.
  std::string name;
  std::string version;            // "DisplayVersion"
  std::string uninstallCommand;   // "UninstallString" or "msiexec.exe /x <key name>"
  bool isMsi = false;             // installed by Windows Installer
  bool noUninstaller = false;     // no uninstall command
  std::string helpText;           // the definition's "URL"
  // The root key's handle value as 8 upper-case hexadecimal digits, "\" and the
  // path of the uninstall entry: "80000002\SOFTWARE\...\Uninstall\<key name>".
  std::string registryLocation;
};

class TAVUninstall {
 public:
  // Reads `folder` + "DetectionEx.ini" (ProgramDir when `folder` is empty). A
  // missing file gives no definitions. A file that can be neither read nor
  // copied throws std::runtime_error "backup file <file> failed.".
  TAVUninstall(const Platform& platform, SystemInfo& system, std::string_view folder = {});
  // The same with the ports named: `on64BitWindows` adds the 64-bit registry
  // view and the "Wow6432Node" keys.
  TAVUninstall(IFileSystem& files, IRegistry& registry, bool on64BitWindows, std::string_view folder);

  // Detects the products the first time; true when it ran now.
  bool Load();
  int Count() const { return static_cast<int>(items_.size()); }
  // Nullptr for an index out of range.
  const TAVProdItem* Item(int index) const;

 private:
  struct Entry;

  std::vector<std::string> ProductSections() const;
  bool SectionEnabled(std::string_view section) const;
  void ScanUninstallKey(RegistryRoot root, std::string_view path);
  void ScanRegPath(std::string_view section);
  // Refreshes the product of the entry's display name; false when there is none.
  bool RefreshListed(const Entry& entry);
  // Appends a product when one of the section's conditions matches the entry.
  bool MatchSection(std::string_view section, const Entry& entry);
  RegistryView View() const;

  IFileSystem& files_;
  IRegistry& registry_;
  bool on64BitWindows_;
  std::string fileName_;
  TSafeIniFile definitions_;
  std::vector<TAVProdItem> items_;
  bool loaded_ = false;
};

}  // namespace bootmark
