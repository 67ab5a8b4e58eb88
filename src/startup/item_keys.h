#pragma once
// Item keys: the name of a startup item made comparable across computers. The
// parts that differ from one computer to the next (a user's SID or name, a GUID,
// a random suffix, the computer's name, its owner, a time stamp) become fixed
// tags; a key whose name changed carries the hash of the item's file, publisher
// and kind. One scheme serves every item kind (1 registry "Run" value, 2 service,
// 3 scheduled task, 4 startup-folder shortcut, 5 store-app startup task).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "startup/local_identity.h"

namespace bootmark {

constexpr int kItemTypeScheduledTask = 3;

// The account fields of a scheduled task that keys replace.
struct TaskAccountFields {
  std::string UserId;
  std::string Author;
};

// The scheduled-task reader's FindTask(name, "\", recursive): nullopt when no
// task has that name.
using FindTaskAccount = std::function<std::optional<TaskAccountFields>(std::string_view name)>;

class ItemKeys {
 public:
  // `findTask` may be empty: tasks are then never found.
  ItemKeys(const LocalIdentity& identity, FindTaskAccount findTask)
      : identity_(identity), findTask_(std::move(findTask)) {}

  // "<itemType>:<name with tags>", followed by "_" and the ItemHash of file name,
  // company and item type when the tags changed the name.
  std::string MakeItemKey(std::string_view name, std::string_view fileName, std::string_view company,
                          int itemType) const;

  // The name without SIDs and GUIDs and without a random "_" suffix.
  std::string StripItemKey(std::string_view name) const;

 private:
  const LocalIdentity& identity_;
  FindTaskAccount findTask_;
};

// The file name part of a key: the text after the last "/" (the whole text
// when it has none); McAfee's installer is "mcinst.exe" wherever it lies.
std::string MakeFileKey(std::string_view filePath, std::string_view company);

// A small hash over the UTF-16 units of the text, as 8 upper-case hexadecimal
// digits: "abc" gives "00006783", the empty text "00000000".
std::string ItemHash(std::string_view text);

}  // namespace bootmark
