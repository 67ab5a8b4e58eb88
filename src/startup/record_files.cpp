#include "startup/record_files.h"

#include <algorithm>
#include <vector>

#include "base/text.h"

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

std::string FindRecordKey(TIniFile& records, std::string_view hash) {
  const std::string upperHash = UpperCaseOrdinal(WithoutLeadingColon(hash));
  for (const std::string& key : records.ReadSection(kRecordSection)) {
    if (IsBookkeeping(key)) continue;
    if (HoldsHash(records.ReadString(kRecordSection, key, ""), upperHash)) return key;
  }
  return {};
}

void DeleteRecord(TIniFile& records, std::string_view hash, bool compact) {
  const std::string upperHash = UpperCaseOrdinal(WithoutLeadingColon(hash));
  bool changed = false;
  for (const std::string& key : records.ReadSection(kRecordSection)) {
    if (IsBookkeeping(key)) continue;
    const std::string record = records.ReadString(kRecordSection, key, "");
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
  std::vector<std::string> keys;
  for (std::string& key : records.ReadSection(kRecordSection)) {
    if (!SameText(key, "Count")) keys.push_back(std::move(key));
  }
  if (keys.empty()) return;
  std::vector<std::string> values;
  values.reserve(keys.size());
  for (const std::string& key : keys) values.push_back(records.ReadString(kRecordSection, key, ""));
  std::size_t next = 0;  // the first entry that may still give its value away
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (!values[i].empty()) continue;
    next = std::max(next, i + 1);
    while (next < keys.size() && values[next].empty()) ++next;
    if (next == keys.size()) break;
    values[i] = std::move(values[next]);
    values[next].clear();
    records.WriteString(kRecordSection, keys[i], values[i]);
    records.WriteString(kRecordSection, keys[next], "");
  }
  records.UpdateFile();
}

}  // namespace bootmark
