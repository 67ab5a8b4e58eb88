#pragma once
// Interface texts from the suite's language files.
//
// A language file is an INI text file "<language>.lng" (UTF-16 or UTF-8 with a
// byte order mark, else the ANSI code page) in the folder "Language" or
// "Toolbox_Language" of the program folder. Section <prefix>_M holds the texts
// one module looks up by key ("SM_M": "M_savedTime"...); section <form name>_<prefix>
// ("Bmark_MainForm_SM") holds the texts of a window's controls, keyed by the
// control's name: "Button_Close.Caption", "Imagebg.Hint",
// "lbl_Note.Items[0].Caption", "lv_Items.Columns[2].Caption".
//
// Every text has an English default at the call site: without a language folder,
// language files, or the chosen and the English file, every text is its default.
//
// A window's creation handler makes one TLanguage, selects the user's language,
// translates the window, reads its keyed texts and lets the object go.
#include <string>
#include <string_view>
#include <vector>

#include "common/ini_hashed_string_list.h"
#include "common/safe_ini_file.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "ui/form_model.h"

namespace bootmark {

// The language everything falls back to.
inline constexpr std::string_view kEnglishLanguage = "English";

class TLanguage {
 public:
  // Lists the languages of <program folder>\Language, which becomes the
  // language folder.
  TLanguage(IFileSystem& files, IEnvironment& environment, std::string prefix);
  // As above, then lists the languages of `folder` too, which becomes the
  // language folder (the boot time notice uses <program folder>\Toolbox_Language).
  TLanguage(IFileSystem& files, IEnvironment& environment, std::string prefix,
            std::string_view folder);

  TLanguage(const TLanguage&) = delete;
  TLanguage& operator=(const TLanguage&) = delete;

  // Loads the named language from the language folder; when that language is not
  // listed or its file is not there, English. When English is missing too,
  // nothing changes.
  void Select(std::string_view name);

  // Sets the texts of the form's controls from section <form name>_<prefix>. A
  // control whose key is absent keeps its text; a form without a name is left
  // alone.
  void Translate(FormModel& form) const;

  // The key's value in the loaded file ("" when stored empty), or the default
  // when the section or the key is missing.
  std::string GetText(std::string_view section, std::string_view key,
                      std::string_view defaultValue) const;
  // The key's value in the module texts (section <prefix>_M), or the default.
  std::string GetModuleText(std::string_view key, std::string_view defaultValue) const;

 private:
  void ListLanguages(std::string_view folder);
  bool IsListed(std::string_view name) const;
  std::string LanguageFile(std::string_view name) const;
  void Load(const std::string& path);

  IFileSystem& files_;
  std::string prefix_;
  // Without a trailing backslash.
  std::string languageFolder_;
  // Languages in the order they were found: file names without ".lng". A
  // language present in both folders is listed twice.
  std::vector<std::string> languageNames_;
  // The loaded file, whole. Bound to no file: it is only ever read.
  TSafeIniFile languageFile_;
  // A copy of section <prefix>_M of the loaded file.
  TIniHashedStringList moduleTexts_;
};

// The user's language: "Main.ini" [Main] "Language" in the suite's user data
// folder, read through the profile functions; "English" when it is not set.
std::string CurrentLanguageName(IFileSystem& files, IProfileApi& profile, IShell& shell);

}  // namespace bootmark
