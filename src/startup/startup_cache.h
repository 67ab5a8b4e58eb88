#pragma once
// "Startup Manager\StartupCache.dat": the inventory as the suite reads it. One
// section per item, named by the item's name and key, holding the list the item
// belongs to and every field of its record; section "Main" holds the time of
// writing. Rewritten whole at the end of each gathering from the system.
#include <cstddef>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "common/safe_ini_file.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "startup/startup_records.h"

namespace bootmark {

// Relative to GetSuiteCommonDataDir.
inline constexpr std::string_view kStartupCacheName = "Startup Manager\\StartupCache.dat";
std::string StartupCachePath(IShell& shell);

// The section of an item: its name, "_" and its key ("Foo_" for an item without key).
std::string CacheSectionName(const StartupRecordHead& item);

// The lists in cache form, startup items, then services, then tasks, each in list
// order; two items with the same section share it, the later one's values
// replacing the earlier one's key by key. `now` is the local time of writing.
void WriteStartupCacheTo(TSafeIniFile& cache, const StartupLists& lists, DateTime now);

// Writes the cache file at `path` (its folders created, a read-only or hidden
// attribute cleared for the write). Throws std::runtime_error when the file
// cannot be written; the lists are not touched.
void WriteStartupCache(IFileSystem& files, const std::string& path, const StartupLists& lists, DateTime now);

// The list kinds of ReadStartupCache.
enum class CacheList : int { Startup = 1, Services = 2, Tasks = 3 };

// Appends the cached items of one list (of the startup items only the store-app
// tasks, whose "StartupType" is 5) in file order and answers how many it added.
// Any other `listKind` adds nothing. Values that are missing or not numbers read
// as "" for texts, 0 for Recommand, false for booleans and -1 for other numbers.
int ReadStartupCache(const TSafeIniFile& cache, StartupLists& lists, int listKind);

}  // namespace bootmark
