#pragma once
// The lines of one INI section ("key=value", or any other text kept as it is),
// with two hash indexes: one over the key names and one over the whole lines,
// both without regard to case.
//
// Adding and replacing a line update an index that is in use in place rather
// than throwing it away, so looking a key up while a section is being filled
// stays a hash lookup and filling a section of n keys costs O(n). Removing a
// line shifts the positions after it, so that alone marks the indexes stale;
// they are rebuilt on the next lookup. An index is built on its first lookup.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace bootmark {

class TIniHashedStringList {
 public:
  static constexpr int kNotFound = -1;

  int Count() const { return static_cast<int>(lines_.size()); }
  bool Empty() const { return lines_.empty(); }
  const std::string& operator[](int index) const { return lines_[static_cast<std::size_t>(index)]; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Appends a line; returns its position.
  int Add(std::string line);
  // Replaces the line at `index`.
  void Put(int index, std::string line);
  void Delete(int index);
  void Clear();

  // First line equal to `line` without regard to case, or kNotFound.
  int IndexOf(std::string_view line) const;
  // First line whose key equals `name` without regard to case, or kNotFound.
  // Lines without "=" have no key.
  int IndexOfName(std::string_view name) const;

  // Splits a line at its first "=" into key and value; false (and both left
  // unchanged) when the line has no "=".
  static bool SplitLine(std::string_view line, std::string_view& name, std::string_view& value);
  // Key and value of the line at `index`; both empty when it has no "=".
  std::string_view NameAt(int index) const;
  std::string_view ValueAt(int index) const;

 private:
  // Position lists per hash value. Lines of equal hash (duplicate keys, or
  // collisions) share one bucket, in ascending position order.
  using Index = std::unordered_multimap<std::size_t, int>;

  void IndexLine(int index);
  void UnindexLine(int index);
  void EnsureNameIndex() const;
  void EnsureLineIndex() const;

  std::vector<std::string> lines_;
  mutable Index names_;
  mutable Index wholeLines_;
  mutable bool namesValid_ = false;
  mutable bool wholeLinesValid_ = false;
};

}  // namespace bootmark
