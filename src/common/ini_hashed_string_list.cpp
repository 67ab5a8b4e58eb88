#include "common/ini_hashed_string_list.h"

#include "common/text.h"

namespace bootmark {
namespace {

using Index = std::unordered_multimap<std::size_t, int>;

void EraseEntry(Index& index, std::size_t hash, int position) {
  auto [first, last] = index.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    if (it->second == position) {
      index.erase(it);
      return;
    }
  }
}

// Lowest position in the bucket of `hash` whose text matches `wanted`.
template <typename TextOf>
int FindFirst(const Index& index, std::string_view wanted, TextOf textOf) {
  int best = TIniHashedStringList::kNotFound;
  auto [first, last] = index.equal_range(HashTextIgnoreCase(wanted));
  for (auto it = first; it != last; ++it) {
    if ((best == TIniHashedStringList::kNotFound || it->second < best) &&
        SameText(textOf(it->second), wanted)) {
      best = it->second;
    }
  }
  return best;
}

}  // namespace

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

void TIniHashedStringList::IndexLine(int index) {
  const std::string& line = (*this)[index];
  if (namesValid_) {
    std::string_view name, value;
    if (SplitLine(line, name, value)) names_.emplace(HashTextIgnoreCase(name), index);
  }
  if (wholeLinesValid_) wholeLines_.emplace(HashTextIgnoreCase(line), index);
}

void TIniHashedStringList::UnindexLine(int index) {
  const std::string& line = (*this)[index];
  if (namesValid_) {
    std::string_view name, value;
    if (SplitLine(line, name, value)) EraseEntry(names_, HashTextIgnoreCase(name), index);
  }
  if (wholeLinesValid_) EraseEntry(wholeLines_, HashTextIgnoreCase(line), index);
}

int TIniHashedStringList::Add(std::string line) {
  lines_.push_back(std::move(line));
  const int index = Count() - 1;
  IndexLine(index);
  return index;
}

void TIniHashedStringList::Put(int index, std::string line) {
  UnindexLine(index);
  lines_[static_cast<std::size_t>(index)] = std::move(line);
  IndexLine(index);
}

void TIniHashedStringList::Delete(int index) {
  lines_.erase(lines_.begin() + index);
  // Every later line moved up by one: both indexes are rebuilt when next needed.
  names_.clear();
  wholeLines_.clear();
  namesValid_ = false;
  wholeLinesValid_ = false;
}

void TIniHashedStringList::Clear() {
  lines_.clear();
  names_.clear();
  wholeLines_.clear();
  namesValid_ = false;
  wholeLinesValid_ = false;
}

void TIniHashedStringList::EnsureNameIndex() const {
  if (namesValid_) return;
  names_.clear();
  names_.reserve(lines_.size());
  for (int i = 0; i < Count(); ++i) {
    std::string_view name, value;
    if (SplitLine((*this)[i], name, value)) names_.emplace(HashTextIgnoreCase(name), i);
  }
  namesValid_ = true;
}

void TIniHashedStringList::EnsureLineIndex() const {
  if (wholeLinesValid_) return;
  wholeLines_.clear();
  wholeLines_.reserve(lines_.size());
  for (int i = 0; i < Count(); ++i) wholeLines_.emplace(HashTextIgnoreCase((*this)[i]), i);
  wholeLinesValid_ = true;
}

int TIniHashedStringList::IndexOf(std::string_view line) const {
  EnsureLineIndex();
  return FindFirst(wholeLines_, line, [this](int i) -> std::string_view { return (*this)[i]; });
}

int TIniHashedStringList::IndexOfName(std::string_view name) const {
  EnsureNameIndex();
  return FindFirst(names_, name, [this](int i) { return NameAt(i); });
}

}  // namespace bootmark
