#include "suite/notification_center.h"

#include <algorithm>
#include <charconv>

#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"

namespace bootmark {
namespace {

constexpr std::string_view kMessagesSection = "Messages";
constexpr std::string_view kMainSection = "Main";
constexpr std::string_view kClickedKey = "NCIsClick";
constexpr std::string_view kDeleteSection = "DeleteMsg";

std::string MessageKey(std::string_view timeText) { return std::string(timeText) + "_Base"; }

// The three writes of one stored message, saved at once. A file that exists but
// could not be read is left as it is: saving would lose the messages it holds.
void WriteNCConfig(IFileSystem& files, const std::string& path, std::string_view text, std::string_view key,
                   std::int32_t msgId) {
  TSafeIniFile ini(files, path);
  if (ini.NoAutoSave()) return;
  ini.WriteString(kMessagesSection, key, text);
  ini.WriteBool(kMainSection, kClickedKey, false);
  ini.DeleteKey(kDeleteSection, IntToStr(msgId));
  ini.UpdateFile();
}

bool HoldsMessage(IFileSystem& files, const std::string& path, std::string_view key) {
  const TSafeIniFile ini(files, path);
  return ini.ValueExists(kMessagesSection, key);
}

}  // namespace

std::string BuildNCMessage(const TNotiCenterMsgData& msg, std::string_view timeText) {
  std::string text = "msgid:" + IntToStr(msg.MsgId);
  text += "|opid:" + IntToStr(msg.OpId);
  text += "|content:" + msg.Content;
  text += "|msgext:" + msg.MsgExt;
  text += "|ctgp:" + msg.CtGp;
  text += "|ctkey:" + msg.CtKey;
  if (!msg.Btn.empty()) {
    text += "|btn:" + msg.Btn;
    text += "|btngp:" + msg.BtnGp;
    text += "|btnkey:" + msg.BtnKey;
  }
  if (!msg.DataEx.empty()) text += "|dataEx:" + msg.DataEx;
  text += "|time:";
  text += timeText;
  return text;
}

std::string FormatNCTimeText(DateTime localTime, char decimalSeparator) {
  // Rounded to 15 significant digits first: every decimal of at most 15 digits
  // reads back as a double unchanged, so the shortest text of the rounded value
  // is those digits without their trailing zeros.
  char buffer[40];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, localTime, std::chars_format::scientific, 14);
  double rounded = localTime;
  if (written.ec == std::errc()) std::from_chars(buffer, written.ptr, rounded);
  std::string text = FloatToStr(rounded);
  std::replace(text.begin(), text.end(), '.', decimalSeparator);
  return text;
}

int PostNCMessage(const Platform& platform, const TNotiCenterMsgData& msg) {
  const std::string timeText = FormatNCTimeText(platform.clock.Now(), platform.system.DecimalSeparator());
  const std::string text = BuildNCMessage(msg, timeText);
  if (SendDataToNotificationCenter(platform, text)) return nc_post::kDelivered;
  StoreNCMessage(platform, text, timeText, msg.MsgId);
  return nc_post::kStored;
}

bool SendDataToNotificationCenter(const Platform& platform, std::string_view text) {
  const std::string reply =
      SendDataToProcess(platform, kSuiteExchangeTarget, std::string(kNCMessagePrefix) + std::string(text));
  platform.debug.Write("SendDataToNotificationCenter Recv : " + reply);
  return !reply.empty();
}

std::string SendDataToProcess(const Platform& platform, std::string_view target, std::string_view data) {
  const std::string library = ProgramDir(platform.environment) + std::string(kSuiteExchangeLibrary);
  return platform.suiteExchange.SendData(library, target, data).value_or(std::string());
}

void StoreNCMessage(const Platform& platform, std::string_view text, std::string_view timeText,
                    std::int32_t msgId) {
  const std::string folder = GetSuiteUserDataDir(platform.shell);
  const std::string key = MessageKey(timeText);
  const std::string mainPath = folder + std::string(kNCConfigName);
  WriteNCConfig(platform.files, mainPath, text, key, msgId);
  // Read back: the suite may hold the file, or the folder may refuse writing.
  if (HoldsMessage(platform.files, mainPath, key)) return;
  WriteNCConfig(platform.files, folder + std::string(kNCConfigFallbackName), text, key, msgId);
}

}  // namespace bootmark
