#pragma once
// Messages to the suite's notification center: the list of messages the user can
// open later in the suite's window. A message goes to the running suite through
// its data-exchange library; when the suite does not take it, it is written into
// the notification center's settings file, where the suite finds it on its next
// start.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "platform/platform.h"

namespace bootmark {

// One notification-center message.
struct TNotiCenterMsgData {
  // The message kind; also its key in the notification center's "DeleteMsg" list.
  std::int32_t MsgId = 0;
  // What the notification center does when the message's button is clicked.
  std::int32_t OpId = 0;
  // The text in English, shown when the language key gives nothing.
  std::string Content;
  std::string MsgExt;
  // Language section and key of the text.
  std::string CtGp;
  std::string CtKey;
  // The button caption in English; empty: the message has no button.
  std::string Btn;
  std::string BtnGp;
  std::string BtnKey;
  // Handed back to the program that acts on the message.
  std::string DataEx;
};

// The library, its export's target name and the prefix of every message text.
inline constexpr std::string_view kSuiteExchangeLibrary = "Statewell.dll";
inline constexpr std::string_view kSuiteExchangeTarget = "Kestrune State";
inline constexpr std::string_view kNCMessagePrefix = "NC_MSG=";
// The notification center's settings file and the one written when it cannot be,
// in the suite's user data folder.
inline constexpr std::string_view kNCConfigName = "ncconfig.ini";
inline constexpr std::string_view kNCConfigFallbackName = "ncconfig2.ini";

// What PostNCMessage did with the message.
namespace nc_post {
constexpr int kDelivered = 1;  // the running suite took it
constexpr int kStored = 2;     // it was written to the settings file
}  // namespace nc_post

// The message as one text: "msgid:..|opid:..|content:..|msgext:..|ctgp:..|ctkey:..",
// the button's three fields only when it has a caption, "|dataEx:.." only when
// there is data, and "|time:" + timeText last. Values are not escaped.
std::string BuildNCMessage(const TNotiCenterMsgData& msg, std::string_view timeText);

// A local date and time as the message's time text: its day number in the
// shortest general form of at most 15 significant digits, with the user's
// decimal separator ("46361.5" or "46361,5").
std::string FormatNCTimeText(DateTime localTime, char decimalSeparator);

// Sends the message to the running suite, or stores it when the suite does not
// take it. Returns nc_post::kDelivered or nc_post::kStored.
int PostNCMessage(const Platform& platform, const TNotiCenterMsgData& msg);

// Hands "NC_MSG=" + text to the running suite and writes its reply to the debug
// output. True when the suite replied with a non-empty text.
bool SendDataToNotificationCenter(const Platform& platform, std::string_view text);

// One call of the data-exchange library in ProgramDir: the reply, or the empty
// text when the library refused the data or is missing.
std::string SendDataToProcess(const Platform& platform, std::string_view target, std::string_view data);

// Writes the message into "ncconfig.ini" (section "Messages", key timeText +
// "_Base"), marks the notification center not clicked and drops the message
// kind from its "DeleteMsg" list; when reading the file back does not show the
// message, the same is written to "ncconfig2.ini".
void StoreNCMessage(const Platform& platform, std::string_view text, std::string_view timeText,
                    std::int32_t msgId);

}  // namespace bootmark
