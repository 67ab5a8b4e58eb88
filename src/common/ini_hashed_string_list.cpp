#include "common/ini_hashed_string_list.h"

namespace bootmark {

bool TIniHashedStringList::SplitLine(std::string_view line, std::string_view& name,
                                     std::string_view& value) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  name = line.substr(0, equals);
  value = line.substr(equals + 1);
  return true;
}

std::string_view TIniHashedStringList::NameAt(int index) const {
  std::string_view name, value;
  SplitLine((*this)[index], name, value);
  return name;
}

std::string_view TIniHashedStringList::ValueAt(int index) const {
  std::string_view name, value;
  SplitLine((*this)[index], name, value);
  return value;
}

int TIniHashedStringList::Add(std::string line) {
  lines_.push_back(std::move(line));
  const int index = Count() - 1;
  const std::string& added = lines_.back();
  std::string_view name, value;
  if (namesValid_ && SplitLine(added, name, value)) {
    names_.Insert(name, index, [this](int i) { return NameAt(i); });
  }
  if (wholeLinesValid_) {
    wholeLines_.Insert(added, index, [this](int i) -> std::string_view { return (*this)[i]; });
  }
  return index;
}

void TIniHashedStringList::Put(int index, std::string line) {
  std::string& slot = lines_[static_cast<std::size_t>(index)];
  const auto nameAt = [this](int i) { return NameAt(i); };
  const auto lineAt = [this](int i) -> std::string_view { return (*this)[i]; };

  std::string_view oldName, newName, value;
  const bool hadName = SplitLine(slot, oldName, value);
  const bool hasName = SplitLine(line, newName, value);
  // Replacing a key's value keeps its name: the name index needs no change then.
  const bool nameChanges = namesValid_ && (hadName != hasName || !SameText(oldName, newName));
  const bool lineChanges = wholeLinesValid_ && !SameText(slot, line);

  if (nameChanges && hadName) names_.Remove(oldName, index, nameAt);
  if (lineChanges) wholeLines_.Remove(slot, index, lineAt);
  slot = std::move(line);
  if (nameChanges && SplitLine(slot, newName, value)) names_.Insert(newName, index, nameAt);
  if (lineChanges) wholeLines_.Insert(slot, index, lineAt);
}

void TIniHashedStringList::Delete(int index) {
  lines_.erase(lines_.begin() + index);
  // Every later line moved up by one: both indexes are rebuilt when next needed.
  names_.Clear();
  wholeLines_.Clear();
  namesValid_ = false;
  wholeLinesValid_ = false;
}

void TIniHashedStringList::Clear() {
  lines_.clear();
  names_.Clear();
  wholeLines_.Clear();
  namesValid_ = false;
  wholeLinesValid_ = false;
}

void TIniHashedStringList::EnsureNameIndex() const {
  if (namesValid_) return;
  names_.Clear();
  names_.Reserve(lines_.size());
  const auto nameAt = [this](int i) { return NameAt(i); };
  for (int i = 0; i < Count(); ++i) {
    std::string_view name, value;
    if (SplitLine((*this)[i], name, value)) names_.Insert(name, i, nameAt);
  }
  namesValid_ = true;
}

void TIniHashedStringList::EnsureLineIndex() const {
  if (wholeLinesValid_) return;
  wholeLines_.Clear();
  wholeLines_.Reserve(lines_.size());
  const auto lineAt = [this](int i) -> std::string_view { return (*this)[i]; };
  for (int i = 0; i < Count(); ++i) wholeLines_.Insert((*this)[i], i, lineAt);
  wholeLinesValid_ = true;
}

int TIniHashedStringList::IndexOf(std::string_view line) const {
  EnsureLineIndex();
  return wholeLines_.Find(line, [this](int i) -> std::string_view { return (*this)[i]; });
}

int TIniHashedStringList::IndexOfName(std::string_view name) const {
  EnsureNameIndex();
  return names_.Find(name, [this](int i) { return NameAt(i); });
}

}  // namespace bootmark
