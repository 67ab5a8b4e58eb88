#pragma once
// "Main.ini" of the suite's user data folder as the notice windows read it: the
// font-size level, the skin and the alert's display time. Read once, never
// created; a missing file gives the defaults.
#include <string>

#include "common/data_dirs.h"
#include "common/safe_ini_file.h"
#include "platform/platform.h"

namespace bootmark {

class SuiteMainIni {
 public:
  explicit SuiteMainIni(const Platform& platform) : ini_(platform.files) {
    ini_.LoadFromFile(GetSuiteUserDataDir(platform.shell) + "Main.ini");
  }
  int FontSize() const { return ini_.ReadInteger("Main", "FontSize", 0); }
  std::string Skin() const { return ini_.ReadString("Main", "Skin", "classic"); }
  // Seconds the new-item alert stays without the mouse over it; 0: until closed.
  int DisplayTime() const { return ini_.ReadInteger("Notification", "DisplayTime", 10); }

 private:
  TSafeIniFile ini_;
};

}  // namespace bootmark
