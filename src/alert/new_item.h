#pragma once
// The new startup item that an /AddAutoRun start describes, as the screening, the
// disable-rate decision, the alert window and its actions all see it.
#include <string>
#include <string_view>

namespace bootmark {

// Item kinds as the suite numbers them on the command line.
namespace item_kind {
constexpr int kRegistryValue = 1;
constexpr int kService = 2;
constexpr int kScheduledTask = 3;
constexpr int kStartupShortcut = 4;
}  // namespace item_kind

struct NewStartupItem {
  int FNewItemType = item_kind::kRegistryValue;
  // The file-name part of the item's path (value name, service, task or shortcut).
  std::string FNewItemName;
  // The item's command text as received: the command line, the task's executable
  // text, or the quoted shortcut target followed by a blank and its arguments.
  std::string FNewItemExePath;
  std::string FNewItemRegPath;
  std::string FNewItemSrcDisplayName;
  std::string FNewItemLinkPath;
  // The process that created the item, as the caller passes it.
  std::string FNewItemOperatePID;
  std::string FNewItemOperateName;
};

// Where the user's ignore choices are kept: in the suite's user data folder, one
// key per item in this section, "1" when the item is ignored.
inline constexpr std::string_view kIgnoreIniName = "Startup Manager\\Ignore.ini";
inline constexpr std::string_view kIgnoreSection = "Monitor";

// The key under which the user's ignore choice and the disable-rate decision of an
// item are stored: its name, its resolved executable path and its kind, with
// nothing between them ("UpdaterC:\Tools\upd.exe1").
inline std::string MakeIgnoreKey(std::string_view name, std::string_view exePath, int kind) {
  std::string key(name);
  key += exePath;
  key += std::to_string(kind);
  return key;
}

}  // namespace bootmark
