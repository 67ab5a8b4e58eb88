#include "startup/record_files.h"

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

void DeleteRecord(TIniFile& records, std::string_view hash) {
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
}

}  // namespace bootmark
