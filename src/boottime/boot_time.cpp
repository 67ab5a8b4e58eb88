#include "boottime/boot_time.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "base/text.h"
#include "common/data_dirs.h"

namespace bootmark {
namespace {

constexpr std::string_view kSvchost = "svchost.exe";

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// A service host path: "svchost.exe" occurs first anywhere but at the very start.
bool IsSvchostPath(std::string_view filePath) {
  const std::size_t found = AsciiLower(filePath).find(kSvchost);
  return found != std::string::npos && found > 0;
}

// The third field of an item line split strictly at "|", when there are exactly three.
std::optional<std::int32_t> ItemDuration(std::string_view line) {
  if (std::count(line.begin(), line.end(), '|') != 2) return std::nullopt;
  const std::string_view third = line.substr(line.rfind('|') + 1);
  return ini_format::ParseInteger(third, 0);
}

// Average duration of all svchost lines of the section, every line as stored
// ("key=value", "count" and "boottime" included); nullopt when there is none.
std::optional<std::int64_t> SvchostAverage(const TSafeIniFile& bootTimes) {
  std::int64_t sum = 0;
  std::int64_t lines = 0;
  for (const std::string& line : bootTimes.ReadSectionValues(kBootTimeSection)) {
    if (AsciiLower(line).find(kSvchost) == std::string::npos) continue;
    if (const auto duration = ItemDuration(line)) {
      sum += *duration;
      ++lines;
    }
  }
  if (lines == 0) return std::nullopt;
  return sum / lines;
}

// Numbers of the item lines "0" .. count-1 present in the section, ascending. Only
// keys that are there are visited, so a huge "count" costs nothing.
std::vector<std::int32_t> ItemLineNumbers(const TSafeIniFile& bootTimes, std::int32_t count) {
  std::vector<std::int32_t> numbers;
  for (const std::string& key : bootTimes.ReadSection(kBootTimeSection)) {
    const auto number = TryParseInteger(key);
    // Only the plain decimal form names a line ("007" and "+7" are other keys).
    if (!number || *number < 0 || *number >= count || IntToStr(*number) != key) continue;
    numbers.push_back(static_cast<std::int32_t>(*number));
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

// boottime.dat loaded without binding the object to the file: reading never
// creates or rewrites it.
void LoadBootTimes(const Platform& platform, TSafeIniFile& bootTimes) {
  bootTimes.LoadFromFile(BootTimeDatPath(platform.shell));
}

}  // namespace

std::string BootTimeDatPath(IShell& shell) {
  return GetSuiteCommonDataDir(shell) + std::string(kBootTimeDatName);
}

std::string BootTimeIniPath(IShell& shell) {
  return GetSuiteCommonDataDir(shell) + std::string(kBootTimeIniName);
}

std::string FormatStartupTime(std::int64_t milliseconds, char decimalSeparator) {
  // Tenths of a second, rounded half away from zero as decimal formatting does.
  const bool negative = milliseconds < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(milliseconds) : static_cast<std::uint64_t>(milliseconds);
  const std::uint64_t tenths = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
  std::string text = negative && tenths != 0 ? "-" : "";
  text += std::to_string(tenths / 10);
  if (tenths % 10 != 0) {
    text += decimalSeparator;
    text += static_cast<char>('0' + tenths % 10);
  }
  text += 's';
  return text;
}

std::int32_t ReadLastBootTime(const Platform& platform) {
  try {
    TSafeIniFile ini(platform.files);
    ini.LoadFromFile(BootTimeIniPath(platform.shell));
    return ini.ReadInteger(kBootTimeSection, kBootTimeKey, 0);
  } catch (...) {
    return 0;
  }
}

namespace {

// Changes "BootTime.ini" [main] and saves it at once; an unreadable file is kept.
template <typename Change>
void UpdateBootTimeIni(const Platform& platform, Change change) {
  try {
    TSafeIniFile ini(platform.files, BootTimeIniPath(platform.shell));
    if (ini.LastError() != 0) return;
    change(ini);
    ini.UpdateFile();
  } catch (...) {
  }
}

}  // namespace

void WriteLastBootTime(const Platform& platform, std::string_view text) {
  UpdateBootTimeIni(platform, [&](TSafeIniFile& ini) { ini.WriteString(kBootTimeSection, kBootTimeKey, text); });
}

void WriteNoticeDate(const Platform& platform, std::string_view key) {
  UpdateBootTimeIni(platform,
                    [&](TSafeIniFile& ini) { ini.WriteFloat(kBootTimeSection, key, platform.clock.Now()); });
}

DateTime ParseNoticeDate(std::string_view text, char decimalSeparator) {
  // Only the user's own separator reads as the decimal point.
  const char other = decimalSeparator == ',' ? '.' : ',';
  if (text.find(other) != std::string_view::npos) return 0;
  std::string number(text);
  std::replace(number.begin(), number.end(), decimalSeparator, '.');
  const std::optional<double> value = TryParseFloat(number);
  return value && std::isfinite(*value) ? *value : 0;
}

DateTime ReadNoticeDate(const Platform& platform, std::string_view key) {
  try {
    TSafeIniFile ini(platform.files);
    ini.LoadFromFile(BootTimeIniPath(platform.shell));
    return ParseNoticeDate(ini.ReadString(kBootTimeSection, key, "0"), platform.system.DecimalSeparator());
  } catch (...) {
    return 0;
  }
}

std::string GetItemStartupTime(const TSafeIniFile& bootTimes, std::string_view filePath, char decimalSeparator) {
  const std::int32_t count = bootTimes.ReadInteger(kBootTimeSection, kBootTimeCountKey, 0);
  if (count == 0) return {};

  if (IsSvchostPath(filePath)) {
    if (const auto average = SvchostAverage(bootTimes)) return FormatStartupTime(*average, decimalSeparator);
  }

  const std::int32_t bootTime = bootTimes.ReadInteger(kBootTimeSection, kBootTimeKey, -1);
  // One item never took more than a fifth of the whole boot.
  const std::optional<std::int32_t> cap =
      bootTime > 0 ? std::optional<std::int32_t>(bootTime / 5) : std::nullopt;
  const std::string upperPath = UpperCaseOrdinal(filePath);
  if (upperPath.empty()) return {};

  std::string result;
  for (const std::int32_t number : ItemLineNumbers(bootTimes, count)) {
    const std::string line = bootTimes.ReadString(kBootTimeSection, IntToStr(number), "");
    if (line.empty() || line.find('|') == std::string::npos) continue;
    if (UpperCaseOrdinal(line).find(upperPath) == std::string::npos) continue;
    if (auto duration = ItemDuration(line)) {
      if (cap && *duration > *cap) duration = cap;
      result = FormatStartupTime(*duration, decimalSeparator);  // a later line wins
    }
  }
  return result;
}

std::string GetItemStartupTime(const Platform& platform, std::string_view filePath) {
  try {
    TSafeIniFile bootTimes(platform.files);
    LoadBootTimes(platform, bootTimes);
    return GetItemStartupTime(bootTimes, filePath, platform.system.DecimalSeparator());
  } catch (...) {
    return {};
  }
}

std::string ReadCurrentBootTimeText(const Platform& platform) {
  TSafeIniFile bootTimes(platform.files);
  LoadBootTimes(platform, bootTimes);
  return bootTimes.ReadString(kBootTimeSection, kBootTimeKey, "");
}

BootTimeSaving ComputeBootTimeSaving(std::int64_t lastBootTime, std::int64_t currentBootTime) {
  BootTimeSaving saving;
  if (currentBootTime >= lastBootTime) return saving;
  saving.faster = true;
  saving.milliseconds = lastBootTime - currentBootTime;
  saving.seconds = saving.milliseconds / 1000;
  return saving;
}

BootTimeSaving ReadBootTimeSaving(const Platform& platform) {
  try {
    if (!platform.files.FileExists(BootTimeDatPath(platform.shell))) return {};
    const std::int32_t current = ini_format::ParseInteger(ReadCurrentBootTimeText(platform), 0);
    return ComputeBootTimeSaving(ReadLastBootTime(platform), current);
  } catch (...) {
    return {};
  }
}

}  // namespace bootmark
