#include "dns/netwarden_settings.h"

#include <algorithm>
#include <cstdio>

#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"

namespace bootmark {
namespace {

constexpr std::string_view kProtectSection = "Browser Protect";
constexpr std::string_view kRestoreSection = "Restore";

// The file's content for reading; an unreadable or missing file reads as empty.
class NetwardenReader {
 public:
  explicit NetwardenReader(const Platform& platform) : ini_(platform.files) {
    ini_.LoadFromFile(NetwardenIniPath(platform));
  }
  const TSafeIniFile& Ini() const { return ini_; }

 private:
  TSafeIniFile ini_;
};

}  // namespace

std::string NetwardenIniPath(const Platform& platform) {
  return GetMakerCommonDataDir(platform.shell) + std::string(kNetwardenIniName);
}

GuardSettings ReadGuardSettingsFile(const Platform& platform, std::string_view defaultDNS,
                                    std::int32_t defaultSystemDnsAuto) {
  const NetwardenReader reader(platform);
  GuardSettings settings;
  settings.dnsSwitch = reader.Ini().ReadInteger(kProtectSection, "DNS", 1);
  settings.protectedDNS = reader.Ini().ReadString(kProtectSection, "DNSAddress", defaultDNS);
  settings.systemDnsAuto = reader.Ini().ReadInteger(kProtectSection, "SystemDnsAuto", defaultSystemDnsAuto);
  return settings;
}

void WriteGuardSettingsFile(const Platform& platform, std::int32_t dnsSwitch, std::string_view protectedDNS,
                            std::string_view autoText) {
  TSafeIniFile ini(platform.files, NetwardenIniPath(platform), TextEncoding::Utf16LE);
  ini.WriteInteger(kProtectSection, "DNS", dnsSwitch);
  ini.WriteString(kProtectSection, "DNSAddress", protectedDNS);
  ini.WriteString(kProtectSection, "SystemDnsAuto", autoText);
  // Saved when `ini` goes; never over a file that could not be read.
}

std::int32_t ReadOpenkb(const Platform& platform) {
  return NetwardenReader(platform).Ini().ReadInteger(kRestoreSection, "Openkb", 0);
}

std::string RememberedChoiceKey(const CalendarTime& utc) {
  char key[64];
  std::snprintf(key, sizeof key, "%.4d%.2d%.2d%.2d%.2d%.2d%.3d", utc.year, utc.month, utc.day, utc.hour,
                utc.minute, utc.second, utc.millisecond);
  return key;
}

std::vector<std::string> ReadRememberedDNS(const Platform& platform, std::string_view section) {
  std::vector<std::string> values;
  if (!platform.files.FileExists(NetwardenIniPath(platform))) return values;
  const NetwardenReader reader(platform);
  for (const std::string& line : reader.Ini().ReadSectionValues(section)) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) values.push_back(line.substr(equals + 1));
  }
  return values;
}

void RememberDNSChoice(const Platform& platform, std::string_view section, std::string_view dnsText) {
  TSafeIniFile ini(platform.files, NetwardenIniPath(platform), TextEncoding::Utf16LE);
  // A file that exists but could not be read keeps what it holds.
  if (ini.NoAutoSave()) return;
  ini.WriteString(section, RememberedChoiceKey(DecodeDateTime(platform.clock.UtcNow())), dnsText);
  ini.UpdateFile();
}

bool IsRememberedDNS(const Platform& platform, std::string_view section, std::string_view dnsText) {
  const std::vector<std::string> values = ReadRememberedDNS(platform, section);
  return std::any_of(values.begin(), values.end(),
                     [&](const std::string& value) { return SameText(value, dnsText); });
}

}  // namespace bootmark
