#pragma once
// Boot durations and the boot time history.
//
// The suite's boot measurement writes "Startup Manager\boottime.dat" in the suite's
// common data folder: [main] "boottime" (the latest boot in milliseconds), "count" and
// one line per startup item, "0" .. count-1, of three fields separated by "|" whose
// third is the item's start duration in milliseconds. Bootmark only reads it.
//
// Bootmark's own "BootTime.ini" beside it keeps the one earlier boot time the user
// saw and the dates on which each kind of notice content was last shown.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "common/safe_ini_file.h"
#include "platform/platform.h"

namespace bootmark {

// Relative to GetSuiteCommonDataDir.
inline constexpr std::string_view kBootTimeDatName = "Startup Manager\\boottime.dat";
inline constexpr std::string_view kBootTimeIniName = "BootTime.ini";
inline constexpr std::string_view kBootTimeSection = "main";
inline constexpr std::string_view kBootTimeKey = "boottime";
inline constexpr std::string_view kBootTimeCountKey = "count";

// Keys of "BootTime.ini" [main] holding the date a notice content was last shown.
inline constexpr std::string_view kShareDateTimeKey = "ShareDateTime";
inline constexpr std::string_view kOptimizeDateTimeKey = "OptimizeDateTime";
inline constexpr std::string_view kCleanDateTimeKey = "CleanDateTime";
inline constexpr std::string_view kCleanTypeKey = "Cleantype";

std::string BootTimeDatPath(IShell& shell);
std::string BootTimeIniPath(IShell& shell);

// A duration in milliseconds as shown to the user: seconds with one decimal
// (rounded half away from zero) after the user's decimal separator, a trailing
// zero decimal dropped, then "s": 3200 -> "3.2s" (or "3,2s"), 3000 -> "3s",
// 500 -> "0.5s", 0 -> "0s".
std::string FormatStartupTime(std::int64_t milliseconds, char decimalSeparator);

// "BootTime.ini" [main] "boottime" as an integer; 0 when the file or the value is
// missing or not a number.
std::int32_t ReadLastBootTime(const Platform& platform);
// Stores `text` as "BootTime.ini" [main] "boottime" and saves the file at once. A
// file that exists but cannot be read is left as it is.
void WriteLastBootTime(const Platform& platform, std::string_view text);

// Stores the current local date and time under `key` of "BootTime.ini" [main] as a
// day number and saves at once. Failures are ignored.
void WriteNoticeDate(const Platform& platform, std::string_view key);
// The date stored under `key`; 0 (a date long past) when it is missing or does not
// read as a day number in the user's number format.
DateTime ReadNoticeDate(const Platform& platform, std::string_view key);
// A stored day number read with the user's decimal separator, as the suite reads
// it: the file holds "." whatever the locale, so where the separator is "," a
// stored "45731.5" does not convert and counts as 0 (a date long past), exactly as
// for the suite. Any other text that is not a number gives 0 too.
DateTime ParseNoticeDate(std::string_view text, char decimalSeparator);

// The start duration of the startup item whose file is `filePath`, as a duration
// text, or "" when boottime.dat has none. Reads boottime.dat.
std::string GetItemStartupTime(const Platform& platform, std::string_view filePath);
// The same on boottime.dat already loaded, for callers that look up many items.
//
// Items whose path contains "svchost.exe" (after its first character) all share the
// average of every svchost line. Other items take the last line among "0" .. count-1
// that contains the path (without regard to case) and has exactly three fields; its
// duration is capped at a fifth of the boot time when that is known.
std::string GetItemStartupTime(const TSafeIniFile& bootTimes, std::string_view filePath, char decimalSeparator);

// "boottime" of boottime.dat as written there; "" when the file or the key is missing.
std::string ReadCurrentBootTimeText(const Platform& platform);

// How much faster the latest boot was than the one the user saw before.
struct BootTimeSaving {
  bool faster = false;
  std::int64_t milliseconds = 0;  // last - current when faster, else 0
  std::int64_t seconds = 0;       // milliseconds div 1000
  friend bool operator==(const BootTimeSaving&, const BootTimeSaving&) = default;
};
BootTimeSaving ComputeBootTimeSaving(std::int64_t lastBootTime, std::int64_t currentBootTime);
// The saving of the boot in boottime.dat against ReadLastBootTime; nothing saved when
// boottime.dat is missing or anything fails.
BootTimeSaving ReadBootTimeSaving(const Platform& platform);

}  // namespace bootmark
