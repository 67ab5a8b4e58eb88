#include "common/ini_hashed_string_list.h"

namespace bootmark {

void TextPositionIndex::Clear() {
  slots_.clear();
  used_ = 0;
  bits_ = 0;
  more_.clear();
  freeMore_.clear();
}

void TextPositionIndex::Reserve(std::size_t count) {
  std::size_t capacity = 16;
  while (capacity * 3 < count * 4) capacity *= 2;
  if (capacity > slots_.size()) Grow(capacity);
}

void TextPositionIndex::Grow(std::size_t capacity) {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(capacity, Slot{});
  bits_ = 0;
  while ((std::size_t{1} << bits_) < capacity) ++bits_;
  const std::size_t mask = capacity - 1;
  for (const Slot& slot : old) {
    if (slot.first == kNotFound) continue;
    std::size_t i = Home(slot.fingerprint);
    while (slots_[i].first != kNotFound) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

void TextPositionIndex::AddSlot(std::uint32_t fingerprint, int position) {
  if ((used_ + 1) * 4 > slots_.size() * 3) Grow(slots_.empty() ? 16 : slots_.size() * 2);
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(fingerprint);
  while (slots_[i].first != kNotFound) i = (i + 1) & mask;
  slots_[i] = Slot{fingerprint, position, kNoMore};
  ++used_;
}

void TextPositionIndex::AddPosition(Slot& slot, int position) {
  if (slot.more == kNoMore) {
    if (freeMore_.empty()) {
      slot.more = static_cast<int>(more_.size());
      more_.emplace_back();
    } else {
      slot.more = freeMore_.back();
      freeMore_.pop_back();
    }
  }
  std::vector<int>& later = more_[static_cast<std::size_t>(slot.more)];
  if (position < slot.first) {
    later.insert(later.begin(), slot.first);
    slot.first = position;
  } else if (later.empty() || position > later.back()) {
    later.push_back(position);  // the usual case: appended at the end
  } else {
    later.insert(std::lower_bound(later.begin(), later.end(), position), position);
  }
}

bool TextPositionIndex::RemovePosition(Slot& slot, int position) {
  if (slot.more == kNoMore) return slot.first == position;
  std::vector<int>& later = more_[static_cast<std::size_t>(slot.more)];
  if (slot.first == position) {
    slot.first = later.front();
    later.erase(later.begin());
  } else if (auto found = std::lower_bound(later.begin(), later.end(), position);
             found != later.end() && *found == position) {
    later.erase(found);
  }
  if (later.empty()) {
    freeMore_.push_back(slot.more);
    slot.more = kNoMore;
  }
  return false;
}

void TextPositionIndex::EmptySlot(std::size_t index) {
  // Shift later slots of the same probe run back so that no lookup stops early
  // at the hole.
  const std::size_t mask = slots_.size() - 1;
  std::size_t hole = index;
  for (std::size_t next = (hole + 1) & mask; slots_[next].first != kNotFound;
       next = (next + 1) & mask) {
    const std::size_t home = Home(slots_[next].fingerprint);
    // The entry at `next` may fill the hole unless its home lies cyclically in
    // (hole, next].
    const bool homeAfterHole =
        hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
    if (homeAfterHole) continue;
    slots_[hole] = slots_[next];
    hole = next;
  }
  slots_[hole] = Slot{};
  --used_;
}

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
