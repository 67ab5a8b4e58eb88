#include "startup/record_files.h"

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "common/safe_ini_file.h"

namespace bootmark {
namespace {

constexpr std::string_view kRecordSection = "Main";

std::string_view WithoutLeadingColon(std::string_view hash) {
  if (!hash.empty() && hash.front() == ':') hash.remove_prefix(1);
  return hash;
}

bool IsBookkeeping(std::string_view key) { return key == "count" || key == "Count"; }

// An empty hash names no item.
bool HoldsHash(std::string_view record, std::string_view upperHash) {
  return !upperHash.empty() && UpperCaseOrdinal(record).find(upperHash) != std::string::npos;
}

}  // namespace

RecordEntries ReadRecordEntries(TIniFile& records) {
  // Every change made here through the profile functions is flushed at once, so
  // the file holds it.
  TSafeIniFile file(records.Files());
  file.LoadFromFile(records.FileName());
  RecordEntries entries;
  for (std::string& key : file.ReadSection(kRecordSection)) {
    if (IsBookkeeping(key)) continue;
    std::string value = file.ReadString(kRecordSection, key, "");
    entries.emplace_back(std::move(key), std::move(value));
  }
  return entries;
}

std::string FindRecordKey(TIniFile& records, std::string_view hash) {
  const std::string upperHash = UpperCaseOrdinal(WithoutLeadingColon(hash));
  for (const auto& [key, record] : ReadRecordEntries(records)) {
    if (HoldsHash(record, upperHash)) return key;
  }
  return {};
}

void DeleteRecord(TIniFile& records, std::string_view hash, bool compact) {
  const std::string upperHash = UpperCaseOrdinal(WithoutLeadingColon(hash));
  bool changed = false;
  for (const auto& [key, record] : ReadRecordEntries(records)) {
    const bool found = HoldsHash(record, upperHash);
    if (record.empty() || found) {
      records.DeleteKey(kRecordSection, key);
      records.DeleteKey(kRecordSection, "count");
      changed = true;
    }
    if (found) break;
  }
  if (changed) records.UpdateFile();
  if (compact) CompactRecords(records);
}

void CompactRecords(TIniFile& records) {
  if (!records.SectionExists(kRecordSection)) return;
  RecordEntries entries = ReadRecordEntries(records);
  if (entries.empty()) return;
  std::size_t next = 0;  // the first entry that may still give its value away
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!entries[i].second.empty()) continue;
    next = std::max(next, i + 1);
    while (next < entries.size() && entries[next].second.empty()) ++next;
    if (next == entries.size()) break;
    entries[i].second = std::move(entries[next].second);
    entries[next].second.clear();
    records.WriteString(kRecordSection, entries[i].first, entries[i].second);
    records.WriteString(kRecordSection, entries[next].first, "");
  }
  records.UpdateFile();
}

}  // namespace bootmark
