// Arbitrary bytes as a language file: listing, choosing and reading it must never
// crash or hang; every text read is well-formed UTF-8; the module texts are those
// of section "SM_M"; translating a form built from the file's own keys sets what
// GetText gives (and a second translation changes nothing).
// fuzz-max-len: 65536
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/text.h"
#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ports.h"
#include "fuzz/fuzz_check.h"
#include "ui/language.h"

using namespace bootmark;
using bootmark::fuzz::Check;

namespace {

constexpr const char* kToolbox = "C:\\Program Files\\Tarvo\\Kestrune\\Toolbox_Language";
constexpr const char* kInput = "C:\\Program Files\\Tarvo\\Kestrune\\Toolbox_Language\\Fuzz.lng";
constexpr std::size_t kMaxSections = 16;
constexpr std::size_t kMaxKeys = 64;
constexpr std::size_t kListLength = 3;
constexpr std::string_view kDefault = "\x01" "default";

constexpr std::array kKinds = {
    ControlKind::Label,        ControlKind::Button,      ControlKind::GroupBox,
    ControlKind::CheckBox,     ControlKind::RadioButton, ControlKind::ToolButton,
    ControlKind::SpeedButton,  ControlKind::TabSheet,    ControlKind::SkinnedLabel,
    ControlKind::SkinnedImageButton, ControlKind::MenuItem, ControlKind::SkinnedImage,
    ControlKind::NoteLabel,    ControlKind::ComboBox,    ControlKind::TreeView,
    ControlKind::ListView,     ControlKind::HyperlinkLabel, ControlKind::Image,
    ControlKind::Panel,        ControlKind::Timer};

bool WellFormed(const std::string& text) { return Utf16ToUtf8(Utf8ToUtf16(text)) == text; }

std::string Caption(std::string_view name) { return std::string(name) + ".Caption"; }
std::string ListKey(std::string_view name, std::string_view list, std::size_t i) {
  return std::string(name) + "." + std::string(list) + "[" + std::to_string(i) + "].Caption";
}

// What Translate must have put on the control, by GetText with the designed texts.
void CheckTranslated(const TLanguage& language, const std::string& section, const FormControl& control) {
  const std::string& name = control.Name();
  const std::string designed = "designed";
  switch (control.Kind()) {
    case ControlKind::SkinnedImage:
      Check(control.caption == designed);
      Check(control.hint == (control.showHint ? language.GetText(section, name + ".Hint", designed) : designed));
      return;
    case ControlKind::NoteLabel:
    case ControlKind::ComboBox:
    case ControlKind::TreeView:
      for (std::size_t i = 0; i < kListLength; ++i) {
        Check(control.items[i] == language.GetText(section, ListKey(name, "Items", i), designed));
      }
      return;
    case ControlKind::ListView:
      for (std::size_t i = 0; i < kListLength; ++i) {
        Check(control.columns[i] == language.GetText(section, ListKey(name, "Columns", i), designed));
      }
      return;
    case ControlKind::HyperlinkLabel:
    case ControlKind::Image:
    case ControlKind::Panel:
    case ControlKind::Timer:
      Check(control.caption == designed && control.hint == designed);
      return;
    default:
      Check(control.caption == language.GetText(section, Caption(name), designed));
      Check(control.hint == designed);
  }
}

std::vector<std::string> Texts(const FormModel& form) {
  std::vector<std::string> texts;
  for (const FormControl& control : form.Controls()) {
    texts.push_back(control.caption);
    texts.push_back(control.hint);
    texts.insert(texts.end(), control.items.begin(), control.items.end());
    texts.insert(texts.end(), control.columns.begin(), control.columns.end());
  }
  return texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakeFileSystem fs;
  testing::FakeEnvironment environment;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  fs.AddFile(kInput, bytes);
  fs.AddFile(std::string(kToolbox) + "\\English.lng", "[SM_M]\r\nM_Who=English\r\n");
  // The same bytes in the first folder: listed, never loaded after the listing.
  fs.AddFile("C:\\Program Files\\Tarvo\\Kestrune\\Language\\Fuzz.lng", bytes);

  TLanguage language(fs, environment, "SM", std::string(kToolbox) + "\\");
  Check(language.LanguageNames().size() == 3);
  Check(language.DisplayNames().size() == 3);
  for (const std::string& name : language.DisplayNames()) Check(WellFormed(name));

  language.Select("English");
  Check(language.GetModuleText("M_Who", kDefault) == "English");
  language.Select("fuzz");
  Check(language.CurrentIndex() == 0);

  // The loaded texts are what the settings loader reads from the same bytes.
  TSafeIniFile reference(fs);
  reference.LoadFromFile(kInput);
  std::vector<std::string> sections = reference.ReadSections();
  if (sections.size() > kMaxSections) sections.resize(kMaxSections);
  for (const std::string& section : sections) {
    std::vector<std::string> keys = reference.ReadSection(section);
    if (keys.size() > kMaxKeys) keys.resize(kMaxKeys);
    const bool moduleSection = SameText(section, "SM_M");
    for (const std::string& key : keys) {
      const std::string text = language.GetText(section, key, kDefault);
      Check(text == reference.ReadString(section, key, kDefault));
      Check(WellFormed(text));
      if (moduleSection) Check(language.GetModuleText(key, kDefault) == text);
    }

    // A form for each form section of this module, with a control of every kind
    // named after the section's keys.
    if (section.size() < 3 || !EndsWithIgnoreCase(section, "_SM")) continue;
    FormModel form(section.substr(0, section.size() - 3));
    std::size_t next = 0;
    for (const std::string& key : keys) {
      const std::string name = key.substr(0, key.find('.'));
      if (name.empty() || form.Find(name) != nullptr) continue;
      FormControl& control = form.Add(name, kKinds[next++ % kKinds.size()]);
      control.caption = control.hint = "designed";
      control.showHint = next % 3 != 0;
      control.items.assign(kListLength, "designed");
      control.columns.assign(kListLength, "designed");
    }
    const std::vector<std::string> designed = Texts(form);
    language.Translate(form);
    if (form.Name().empty()) {
      Check(Texts(form) == designed);
      continue;
    }
    const std::string formSection = form.Name() + "_SM";
    for (const FormControl& control : form.Controls()) CheckTranslated(language, formSection, control);
    const std::vector<std::string> once = Texts(form);
    language.Translate(form);
    Check(Texts(form) == once);
  }
  return 0;
}
