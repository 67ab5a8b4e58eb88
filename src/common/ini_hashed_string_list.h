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
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/text.h"

namespace bootmark {

// Positions of texts in a list, by text without regard to case. Finding the first
// position of a text is one hash lookup however often the text occurs, so files
// full of repeated names cannot make lookups slow. The texts themselves stay in
// the list; every call gets `textAt(position)` to read them.
class TextPositionIndex {
 public:
  static constexpr int kNotFound = -1;

  void Clear() { groups_.clear(); }
  void Reserve(std::size_t count) { groups_.reserve(count); }

  template <typename TextAt>
  int Find(std::string_view text, const TextAt& textAt) const {
    const Group* group = FindGroup(text, textAt);
    return group != nullptr ? group->first : kNotFound;
  }

  // Records that `position` holds `text`.
  template <typename TextAt>
  void Insert(std::string_view text, int position, const TextAt& textAt) {
    const std::size_t hash = HashTextIgnoreCase(text);
    Group* group = FindGroup(hash, text, textAt);
    if (group == nullptr) {
      groups_.emplace(hash, Group{position, {}});
    } else if (position < group->first) {
      group->rest.insert(group->rest.begin(), group->first);
      group->first = position;
    } else if (group->rest.empty() || position > group->rest.back()) {
      group->rest.push_back(position);  // the usual case: appended at the end
    } else {
      group->rest.insert(std::lower_bound(group->rest.begin(), group->rest.end(), position),
                         position);
    }
  }

  // Forgets that `position` holds `text`; call while it still does.
  template <typename TextAt>
  void Remove(std::string_view text, int position, const TextAt& textAt) {
    const std::size_t hash = HashTextIgnoreCase(text);
    auto [first, last] = groups_.equal_range(hash);
    for (auto it = first; it != last; ++it) {
      Group& group = it->second;
      if (!SameText(textAt(group.first), text)) continue;
      if (group.first == position) {
        if (group.rest.empty()) {
          groups_.erase(it);
        } else {
          group.first = group.rest.front();
          group.rest.erase(group.rest.begin());
        }
      } else if (auto found = std::lower_bound(group.rest.begin(), group.rest.end(), position);
                 found != group.rest.end() && *found == position) {
        group.rest.erase(found);
      }
      return;
    }
  }

 private:
  // All positions of one text: the first, and the later ones in ascending order.
  struct Group {
    int first;
    std::vector<int> rest;
  };

  template <typename TextAt>
  const Group* FindGroup(std::string_view text, const TextAt& textAt) const {
    auto [first, last] = groups_.equal_range(HashTextIgnoreCase(text));
    for (auto it = first; it != last; ++it) {
      if (SameText(textAt(it->second.first), text)) return &it->second;
    }
    return nullptr;
  }
  template <typename TextAt>
  Group* FindGroup(std::size_t hash, std::string_view text, const TextAt& textAt) {
    auto [first, last] = groups_.equal_range(hash);
    for (auto it = first; it != last; ++it) {
      if (SameText(textAt(it->second.first), text)) return &it->second;
    }
    return nullptr;
  }

  std::unordered_multimap<std::size_t, Group> groups_;
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
