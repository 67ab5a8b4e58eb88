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
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/text.h"

namespace bootmark {

// Positions of texts in a list, by text without regard to case. Finding the first
// position of a text is one hash probe however often the text occurs, so files
// full of repeated names cannot make lookups slow. The texts themselves stay in
// the list; every call gets `textAt(position)` to read them.
//
// An open-addressing table (linear probing, deletion by shifting back) keeps one
// slot per distinct text: far fewer cache misses and allocations than a node-based
// map when a section fills with 100,000 keys.
class TextPositionIndex {
 public:
  static constexpr int kNotFound = -1;

  void Clear();
  void Reserve(std::size_t count);

  template <typename TextAt>
  int Find(std::string_view text, const TextAt& textAt) const {
    const std::size_t slot = FindSlot(Fingerprint(text), text, textAt);
    return slot == kNoSlot ? kNotFound : slots_[slot].first;
  }

  // Records that `position` holds `text`.
  template <typename TextAt>
  void Insert(std::string_view text, int position, const TextAt& textAt) {
    const std::uint32_t fingerprint = Fingerprint(text);
    const std::size_t slot = FindSlot(fingerprint, text, textAt);
    if (slot == kNoSlot) {
      AddSlot(fingerprint, position);
    } else {
      AddPosition(slots_[slot], position);
    }
  }

  // Forgets that `position` holds `text`; call while it still does.
  template <typename TextAt>
  void Remove(std::string_view text, int position, const TextAt& textAt) {
    const std::size_t slot = FindSlot(Fingerprint(text), text, textAt);
    if (slot != kNoSlot && RemovePosition(slots_[slot], position)) EmptySlot(slot);
  }

 private:
  static constexpr std::size_t kNoSlot = static_cast<std::size_t>(-1);
  static constexpr int kNoMore = -1;

  // One distinct text: its first position, and (when it occurs again) the index
  // of the ascending list of its later positions in more_. An empty slot has
  // `first` kNotFound. Twelve bytes, so that a big table stays small.
  struct Slot {
    std::uint32_t fingerprint = 0;
    int first = kNotFound;
    int more = kNoMore;
  };

  static std::uint32_t Fingerprint(std::string_view text) {
    const auto hash = static_cast<std::uint64_t>(HashTextIgnoreCase(text));
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
  }

  // First slot to probe: Fibonacci hashing spreads the fingerprint's bits over
  // the table, so runs of similar names do not cluster.
  std::size_t Home(std::uint32_t fingerprint) const {
    return static_cast<std::size_t>((fingerprint * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
  }

  template <typename TextAt>
  std::size_t FindSlot(std::uint32_t fingerprint, std::string_view text,
                       const TextAt& textAt) const {
    if (slots_.empty()) return kNoSlot;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = Home(fingerprint);; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.first == kNotFound) return kNoSlot;
      if (slot.fingerprint == fingerprint && SameText(textAt(slot.first), text)) return i;
    }
  }

  void AddSlot(std::uint32_t fingerprint, int position);
  void AddPosition(Slot& slot, int position);
  // True when the slot holds no position any more.
  bool RemovePosition(Slot& slot, int position);
  void EmptySlot(std::size_t index);
  void Grow(std::size_t capacity);

  std::vector<Slot> slots_;  // capacity a power of two, at most three quarters used
  std::size_t used_ = 0;
  int bits_ = 0;  // slots_.size() == 1 << bits_
  // Later positions of texts that occur more than once; freed lists are reused.
  std::vector<std::vector<int>> more_;
  std::vector<int> freeMore_;
};

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
  void EnsureNameIndex() const;
  void EnsureLineIndex() const;

  std::vector<std::string> lines_;
  mutable TextPositionIndex names_;
  mutable TextPositionIndex wholeLines_;
  mutable bool namesValid_ = false;
  mutable bool wholeLinesValid_ = false;
};

}  // namespace bootmark
