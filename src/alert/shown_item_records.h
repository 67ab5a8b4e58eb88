#pragma once
// What the alert leaves behind about an item it shows: the records of the alert
// log, and the notification-center message posted when the alert goes away
// without the user having acted on it.
#include <string>
#include <string_view>
#include <vector>

#include "alert/new_item.h"
#include "platform/platform.h"
#include "suite/notification_center.h"

namespace bootmark {

// "Bootmark\smAutoRun.log" in the suite's common data folder.
std::string AlertLogPath(IShell& shell);

// The alert log's records of one shown item, in order: its kind, name, command
// text, source display name, registry path and shortcut path; for registry
// values and startup shortcuts also the name and id of the process that created
// it; then an empty record.
std::vector<std::string> AlertLogRecords(const NewStartupItem& item);

// Appends AlertLogRecords(item) to the log at `logPath`, one line each.
void LogShownItem(const Platform& platform, const NewStartupItem& item, std::string_view logPath);

// The notification-center message about a new startup item, with a "Disable
// Now" button and the item's kind, name and command text joined by "+++" as its
// data.
TNotiCenterMsgData NewItemNCMessage(const NewStartupItem& item);

}  // namespace bootmark
