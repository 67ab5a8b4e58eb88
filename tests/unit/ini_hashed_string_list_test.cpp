// The section's line list and the index table under it: lookups stay right
// after any mix of operations.
#include "common/ini_hashed_string_list.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"

namespace bootmark {
namespace {

// The list's indexes are kept up to date in place; after any mix of operations a
// lookup must give what a plain scan from the top gives.
TEST(IniHashedStringList, IndexedLookupsAgreeWithAScanAfterEveryOperation) {
  const std::vector<std::string> names = {"a", "A", "b", "B", "\xC3\xA4", "\xC3\x84", "k"};
  std::mt19937 random(12345);
  auto pick = [&](std::size_t count) { return static_cast<int>(random() % count); };
  auto makeLine = [&]() -> std::string {
    if (pick(6) == 0) return "no equals " + std::to_string(pick(3));
    return names[static_cast<std::size_t>(pick(names.size()))] + "=" + std::to_string(pick(3));
  };
  auto scanName = [](const TIniHashedStringList& list, std::string_view name) {
    for (int i = 0; i < list.Count(); ++i) {
      std::string_view key, value;
      if (TIniHashedStringList::SplitLine(list[i], key, value) && SameText(key, name)) return i;
    }
    return TIniHashedStringList::kNotFound;
  };
  auto scanLine = [](const TIniHashedStringList& list, std::string_view line) {
    for (int i = 0; i < list.Count(); ++i) {
      if (SameText(list[i], line)) return i;
    }
    return TIniHashedStringList::kNotFound;
  };

  TIniHashedStringList list;
  for (int step = 0; step < 3000; ++step) {
    const int op = pick(10);
    if (op < 5 || list.Empty()) {
      list.Add(makeLine());
    } else if (op < 9) {
      list.Put(pick(static_cast<std::size_t>(list.Count())), makeLine());
    } else {
      list.Delete(pick(static_cast<std::size_t>(list.Count())));
    }
    for (const std::string& name : names) {
      ASSERT_EQ(list.IndexOfName(name), scanName(list, name)) << "step " << step << " " << name;
    }
    const std::string probe = makeLine();
    ASSERT_EQ(list.IndexOf(probe), scanLine(list, probe)) << "step " << step << " " << probe;
  }
}

// The table under the indexes: many distinct texts, so probe runs collide, grow
// and get shifted back on removal.
TEST(TextPositionIndex, FindsTheFirstPositionAfterInsertsAndRemovals) {
  std::mt19937 random(777);
  std::vector<std::optional<std::string>> texts;  // by position; nullopt: not indexed
  const auto textAt = [&texts](int i) -> std::string_view { return *texts[static_cast<std::size_t>(i)]; };
  const auto scan = [&texts](std::string_view text) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (texts[i] && SameText(*texts[i], text)) return static_cast<int>(i);
    }
    return TextPositionIndex::kNotFound;
  };
  const auto randomText = [&random] {
    const int n = static_cast<int>(random() % 400);
    return (n % 2 ? "Name" : "NAME") + std::to_string(n / 2);
  };
  TextPositionIndex index;
  for (int step = 0; step < 20000; ++step) {
    const auto position = static_cast<std::size_t>(random() % 600);
    if (position >= texts.size()) texts.resize(position + 1);
    std::optional<std::string>& slot = texts[position];
    if (slot) {
      index.Remove(*slot, static_cast<int>(position), textAt);
      slot.reset();
    } else {
      slot = randomText();
      index.Insert(*slot, static_cast<int>(position), textAt);
    }
    const std::string probe = randomText();
    ASSERT_EQ(index.Find(probe, textAt), scan(probe)) << "step " << step << " " << probe;
  }
}

}  // namespace
}  // namespace bootmark
