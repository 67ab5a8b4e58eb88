#include "alert/item_actions.h"

#include "alert/item_exe_path.h"
#include "base/program_arguments.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"
#include "suite/suite_launch.h"

namespace bootmark {

std::string QuoteItemText(std::string_view text) {
  // Quoted by the command-line rules even when the text has quotes of its own (a
  // shortcut's command starts with its quoted target): enclosed as it stands, the
  // suite would split it into several fields.
  return QuoteArgument(text);
}

std::string NewStartupInfoFields(const NewStartupItem& item) {
  return IntToStr(item.FNewItemType) + " " + QuoteItemText(item.FNewItemName) + " " +
         QuoteItemText(item.FNewItemExePath);
}

void HandOverToSuite(const Platform& platform, const StatisticSender& sendStatistic, const NewStartupItem& item) {
  sendStatistic(kDisableNowStatistic);
  const std::string kind = IntToStr(item.FNewItemType);
  const SuiteCommand command = SuiteCommand::NewStartupInfo(NewStartupInfoFields(item));
  // The running suite reads the item from the file when the message arrives; a
  // newly started one gets it on its command line instead.
  const bool suiteOpen = platform.desktop.FindTopWindow(kSuiteWindowClass, kSuiteWindowTitle) != kNoWindow;
  if (suiteOpen) {
    WriteNewStartupInfo(platform, "TYPE", kind);
    WriteNewStartupInfo(platform, "NAME", item.FNewItemName);
    WriteNewStartupInfo(platform, "PATH", item.FNewItemExePath);
  }
  OpenSuite(platform, command);
  if (suiteOpen) {
    platform.debug.Write("PostMessage : TYPE :" + kind + " NAME : " + item.FNewItemName +
                         " ExePath : " + item.FNewItemExePath);
  } else {
    platform.debug.Write(command.switchText);
  }
}

void WriteNewStartupInfo(const Platform& platform, std::string_view key, std::string_view value) {
  if (key.empty() || value.empty()) return;
  TSafeIniFile ini(platform.files, GetSuiteUserDataDir(platform.shell) + std::string(kNewStartupInfoName));
  if (ini.NoAutoSave()) return;  // never written over when it could not be read
  ini.WriteString(kNewStartupInfoSection, key, value);
  ini.UpdateFile();
}

void StoreIgnoreChoice(const Platform& platform, TCheckPath& checkPath, const NewStartupItem& item,
                       bool ignoreTicked) {
  if (!ignoreTicked) return;
  try {
    // The resolved executable, exactly as the screening builds the key it reads.
    const std::string key =
        MakeIgnoreKey(item.FNewItemName, GetItemExePath(checkPath, item.FNewItemExePath), item.FNewItemType);
    TSafeIniFile ini(platform.files, GetSuiteUserDataDir(platform.shell) + std::string(kIgnoreIniName));
    if (ini.NoAutoSave()) return;
    ini.WriteString(kIgnoreSection, key, "1");
    ini.UpdateFile();
  } catch (...) {
    // The alert closes all the same; the item may alert again next time.
  }
}

}  // namespace bootmark
