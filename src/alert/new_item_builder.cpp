#include "alert/new_item_builder.h"

#include "alert/item_arguments.h"
#include "alert/shortcut.h"
#include "alert/task_lookup.h"
#include "base/path.h"

namespace bootmark {

NewStartupItem BuildNewStartupItem(const Platform& platform, TaskReader& tasks, const ProgramArguments& arguments) {
  const auto decoded = [&arguments](std::size_t index) { return DecodeItemArgument(arguments[index]); };
  // Whether argument `index` was passed at all.
  const auto present = [&arguments](std::size_t index) { return arguments.Count() > index; };

  NewStartupItem item;
  item.FNewItemType = ParseItemKind(arguments[2]);
  const std::string itemPath = decoded(3);
  item.FNewItemName = ExtractFileName(itemPath);

  switch (item.FNewItemType) {
    case item_kind::kRegistryValue:
      item.FNewItemExePath = decoded(4);
      item.FNewItemRegPath = decoded(5) + item.FNewItemName;
      if (present(6)) {
        item.FNewItemOperatePID = decoded(6);
        item.FNewItemOperateName = decoded(7);
      }
      break;
    case item_kind::kService:
      item.FNewItemExePath = decoded(4);
      item.FNewItemSrcDisplayName = decoded(5);
      break;
    case item_kind::kScheduledTask: {
      bool enabled = false;
      try {
        item.FNewItemExePath = GetTaskExePath(tasks, item.FNewItemName, enabled);
      } catch (...) {
        // The record is still made: a task that cannot be read has no program text.
      }
      break;
    }
    case item_kind::kStartupShortcut: {
      std::string target, linkArguments;
      ResolveShortcut(platform, itemPath, target, linkArguments);
      item.FNewItemExePath = "\"" + target + "\" " + linkArguments;
      item.FNewItemLinkPath = itemPath;
      if (present(4)) {
        item.FNewItemOperatePID = decoded(4);
        item.FNewItemOperateName = decoded(5);
      }
      break;
    }
    default:
      item.FNewItemExePath = decoded(4);
      break;
  }
  return item;
}

}  // namespace bootmark
