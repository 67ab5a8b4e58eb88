#pragma once
// What the user can do with a new startup item in the alert: "Disable Now" hands
// the item over to the suite's startup manager (this program never changes the
// item itself), and the ticked "Ignore this startup item" box stores a choice the
// screening reads, so that the item never raises an alert again.
#include <functional>
#include <string>
#include <string_view>

#include "alert/new_item.h"
#include "platform/platform.h"
#include "startup/command_path.h"

namespace bootmark {

// In the suite's user data folder.
inline constexpr std::string_view kNewStartupInfoName = "Startup Manager\\NewStartupInfo.ini";
inline constexpr std::string_view kNewStartupInfoSection = "NewStartupInfo";

// The usage statistics event of "Disable Now".
inline constexpr std::string_view kDisableNowStatistic = "227";

// Sends one usage statistics event by its id text.
using StatisticSender = std::function<void(std::string_view eventId)>;

// The text as one command-line field (QuoteArgument): the suite parses back
// exactly this text.
std::string QuoteItemText(std::string_view text);

// The fields that follow "/NewStartupInfo" on the suite's command line: the kind,
// the quoted name and the quoted command text, separated by blanks.
std::string NewStartupInfoFields(const NewStartupItem& item);

// "Disable Now": sends the statistics event, then, when the suite's window is
// open, leaves the item in "NewStartupInfo.ini" and posts the window the
// new-item message; else starts the suite with "/NewStartupInfo" and the item's
// fields (in the console user's session when this program runs as SYSTEM).
void HandOverToSuite(const Platform& platform, const StatisticSender& sendStatistic, const NewStartupItem& item);

// Writes one key of section "NewStartupInfo" and saves; nothing when the key or
// the value is empty.
void WriteNewStartupInfo(const Platform& platform, std::string_view key, std::string_view value);

// When `ignoreTicked`, writes "1" under the item's ignore key (its name, the
// executable its command text starts, its kind) in "Ignore.ini" section
// "Monitor", the key the screening looks for. A failure is not reported.
void StoreIgnoreChoice(const Platform& platform, TCheckPath& checkPath, const NewStartupItem& item,
                       bool ignoreTicked);

}  // namespace bootmark
