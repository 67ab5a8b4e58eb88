#pragma once
// The suite's record files of the startup manager ("delStartups.ini",
// "delayEx.ini", "OptimizeRecord.ini", "OptFailed.ini", "Ignore.ini" in the
// user's "Startup Manager" folder): one record per value of section "Main",
// each a text of "name:value" fields joined by "|" that holds the item's hash.
// The keys "count" and "Count" are the suite's bookkeeping, not records.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/ini_file.h"

namespace bootmark {

inline constexpr std::string_view kIgnoreRecords = "Ignore.ini";
inline constexpr std::string_view kDeletedRecords = "delStartups.ini";
inline constexpr std::string_view kDelayedRecords = "delayEx.ini";
inline constexpr std::string_view kOptimizedRecords = "OptimizeRecord.ini";
inline constexpr std::string_view kFailedRecords = "OptFailed.ini";

// The entries of section "Main" in file order with their values, "count" left
// out, read in one pass over the file (a profile call per entry would read and
// parse the whole file again for each).
using RecordEntries = std::vector<std::pair<std::string, std::string>>;
RecordEntries ReadRecordEntries(TIniFile& records);

// The entry whose record holds `hash` (one leading ":" ignored, case ignored),
// the first in file order; empty when there is none.
std::string FindRecordKey(TIniFile& records, std::string_view hash);

// Deletes the first record holding `hash`, and on the way every empty entry
// before it; each deletion also deletes the key "count". With `compact` the
// records are compacted afterwards.
void DeleteRecord(TIniFile& records, std::string_view hash, bool compact = false);

// Closes the gaps of section "Main": each empty entry takes the value of the next
// later non-empty entry, which is emptied, so the records keep their order and
// gather in the first entries. Nothing happens to a file without records.
void CompactRecords(TIniFile& records);

}  // namespace bootmark
