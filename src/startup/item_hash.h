#pragma once
// The identity of an item within the inventory: ItemHash over a text made of the
// item's kind and the fields that tell it apart from the other items of its kind.
// The suite finds its records of disabled and delayed items by this text.
#include <string>
#include <string_view>

#include "startup/startup_records.h"

namespace bootmark {

// The hashed text of a registry value, shortcut or store-app task:
// kind 1 "ItemType:1|RegPathType:<RegType>|RegFullPath:<RegFullPath>|RegKeyName:<Name>|",
// kind 4 "ItemType:4|ItemName:<file name of LnkPath>|ItemIsCommonFolder:<0 or 1>|"
// (1 for the all-users folder and its backup), kind 5 "ItemType:5|ItemName:<FullPath>|".
std::string StartupItemHashText(const TStartupItem& item);
// "ItemType:2|ItemName:<display name>|".
std::string ServiceItemHashText(std::string_view displayName);
// "ItemType:3|ItemName:<task name>|".
std::string TaskItemHashText(std::string_view taskName);

std::string StartupItemHash(const TStartupItem& item);
std::string ServiceItemHash(std::string_view displayName);
std::string TaskItemHash(std::string_view taskName);

}  // namespace bootmark
