#include "ui/language.h"

#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/ini_file.h"

namespace bootmark {
namespace {

constexpr std::string_view kExtension = ".lng";

// Key of entry `index` of a list property: "<name>.<list>[<index>].Caption".
std::string ListKey(const std::string& name, std::string_view list, std::size_t index) {
  std::string key = name;
  key.append(1, '.').append(list).append(1, '[');
  key.append(std::to_string(index)).append("].Caption");
  return key;
}

}  // namespace

TLanguage::TLanguage(IFileSystem& files, IEnvironment& environment, std::string prefix)
    : files_(files), prefix_(std::move(prefix)), languageFile_(files) {
  ListLanguages(ProgramDir(environment) + "Language");
}

TLanguage::TLanguage(IFileSystem& files, IEnvironment& environment, std::string prefix,
                     std::string_view folder)
    : TLanguage(files, environment, std::move(prefix)) {
  ListLanguages(folder);
}

void TLanguage::ListLanguages(std::string_view folder) {
  languageFolder_ = ExcludeTrailingBackslash(folder);
  for (const std::string& fileName : files_.FindFiles(languageFolder_, "*.lng")) {
    // The system's wildcard match guarantees nothing about the name's end (a
    // short 8.3 name may be what matched): the last four characters go whatever
    // they are, as they do for every listed file.
    const std::size_t length = fileName.size() >= kExtension.size()
                                   ? fileName.size() - kExtension.size()
                                   : 0;
    const std::string name = fileName.substr(0, length);
    languageNames_.push_back(name);
    // Each language is loaded in turn; the one listed last stays loaded.
    Select(name);
  }
}

bool TLanguage::IsListed(std::string_view name) const {
  for (const std::string& listed : languageNames_) {
    if (SameText(listed, name)) return true;
  }
  return false;
}

std::string TLanguage::LanguageFile(std::string_view name) const {
  std::string path = languageFolder_;
  path.append(1, '\\').append(name).append(kExtension);
  return path;
}

void TLanguage::Select(std::string_view name) {
  std::string chosen(name);
  if (!IsListed(chosen) || !files_.FileExists(LanguageFile(chosen))) {
    chosen = kEnglishLanguage;
  }
  const std::string path = LanguageFile(chosen);
  // Without the language and without English, what is loaded stays loaded.
  if (!IsListed(chosen) || !files_.FileExists(path)) return;
  Load(path);
}

void TLanguage::Load(const std::string& path) {
  // The file system reads with full sharing, so a file the suite holds open is
  // read all the same. A file that cannot be read or decoded leaves no texts.
  languageFile_.LoadFromFile(path);
  moduleTexts_.Clear();
  for (std::string& line : languageFile_.ReadSectionValues(prefix_ + "_M")) {
    moduleTexts_.Add(std::move(line));
  }
}

std::string TLanguage::GetText(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
  return languageFile_.ReadString(section, key, defaultValue);
}

std::string TLanguage::GetModuleText(std::string_view key, std::string_view defaultValue) const {
  const int line = moduleTexts_.IndexOfName(key);
  return std::string(line >= 0 ? moduleTexts_.ValueAt(line) : defaultValue);
}

void TLanguage::Translate(FormModel& form) const {
  if (form.Name().empty()) return;
  const std::string section = form.Name() + "_" + prefix_;
  for (FormControl& control : form.Controls()) {
    const std::string& name = control.Name();
    switch (control.Kind()) {
      case ControlKind::Label:
      case ControlKind::Button:
      case ControlKind::GroupBox:
      case ControlKind::CheckBox:
      case ControlKind::RadioButton:
      case ControlKind::ToolButton:
      case ControlKind::SpeedButton:
      case ControlKind::TabSheet:
      case ControlKind::SkinnedLabel:
      case ControlKind::SkinnedImageButton:
      case ControlKind::MenuItem:
        control.caption = GetText(section, name + ".Caption", control.caption);
        break;
      case ControlKind::SkinnedImage:
        if (control.showHint) control.hint = GetText(section, name + ".Hint", control.hint);
        break;
      case ControlKind::NoteLabel:
      case ControlKind::ComboBox:
      case ControlKind::TreeView:
        for (std::size_t i = 0; i < control.items.size(); ++i) {
          control.items[i] = GetText(section, ListKey(name, "Items", i), control.items[i]);
        }
        break;
      case ControlKind::ListView:
        for (std::size_t i = 0; i < control.columns.size(); ++i) {
          control.columns[i] = GetText(section, ListKey(name, "Columns", i), control.columns[i]);
        }
        break;
      case ControlKind::HyperlinkLabel:
      case ControlKind::Image:
      case ControlKind::Panel:
      case ControlKind::Timer:
        break;
    }
  }
}

std::string CurrentLanguageName(IFileSystem& files, IProfileApi& profile, IShell& shell) {
  TIniFile mainIni(files, profile, GetSuiteUserDataDir(shell) + "Main.ini");
  return mainIni.ReadString("Main", "Language", kEnglishLanguage);
}

}  // namespace bootmark
