// TLanguage: listing the two language folders, choosing a language with the
// English fall-back, the look-ups, translating a form by component kind, and the
// language chosen in "Main.ini". Decoding the files is the settings file's.
#include "ui/language.h"

#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"
#include "fakes/utf16_file.h"

namespace bootmark {
namespace {

using testing::Utf16File;

using Names = std::vector<std::string>;

constexpr std::string_view kLanguage = "C:\\Program Files\\Tarvo\\Kestrune\\Language\\";
constexpr std::string_view kToolbox = "C:\\Program Files\\Tarvo\\Kestrune\\Toolbox_Language\\";
using testing::kMainIni;

// A machine with language files; table rows each make their own.
struct LanguageMachine {
  // A language file naming itself and its folder in [SM_M] M_Who.
  void AddLanguage(std::string_view folder, std::string_view name, std::string_view extra = "") {
    const std::string where = folder == kToolbox ? "toolbox" : "language";
    machine.files.AddFile(std::string(folder) + std::string(name) + ".lng",
                          Utf16File("[SM_M]\r\nM_Who=" + std::string(name) + "@" + where + "\r\n" +
                                    std::string(extra)));
  }

  TLanguage Toolbox() {
    return TLanguage(machine.files, machine.environment, "SM", std::string(kToolbox));
  }

  testing::FakePlatform machine;
};

class LanguageTest : public ::testing::Test, public LanguageMachine {};

// --- Listing and choosing --------------------------------------------------------

TEST_F(LanguageTest, OneFolderOnlyWhenNoSecondIsGiven) {
  AddLanguage(kLanguage, "English");
  AddLanguage(kToolbox, "Deutsch");
  const TLanguage language(machine.files, machine.environment, "SM");
  EXPECT_EQ(language.GetModuleText("M_Who", ""), "English@language");
}

TEST(LanguageSelect, LoadsTheChosenLanguageElseEnglishElseKeepsWhatIsLoaded) {
  const struct {
    const char* name;
    const char* chosen;  // nullptr: nothing selected after listing
    Names toolbox;       // languages in Toolbox_Language
    Names language;      // languages in Language
    const char* expectedWho;
  } cases[] = {
      // Listing loads each language in turn: the last listed stays loaded; other
      // files than ".lng" are not listed.
      {"NothingSelectedKeepsTheLastListed", nullptr, {"English", "Suomi"}, {"Deutsch", "English"}, "Suomi@toolbox"},
      {"NameIgnoresCase", "dEUTSCH", {"Deutsch", "English"}, {}, "Deutsch@toolbox"},
      {"UnknownGivesEnglish", "Klingon", {"Deutsch", "English", "Francais"}, {}, "English@toolbox"},
      // Listed from the first folder, but loading looks in the language folder only.
      {"OnlyInTheFirstFolderGivesEnglish", "Deutsch", {"English", "Suomi"}, {"Deutsch"}, "English@toolbox"},
      {"EnglishOnlyInTheFirstFolderKeepsTheLastListed", "Klingon", {"Deutsch", "Suomi"}, {"English"}, "Suomi@toolbox"},
      {"NothingListed", "English", {}, {}, "default"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LanguageMachine m;
    for (const std::string& name : c.language) m.AddLanguage(kLanguage, name);
    for (const std::string& name : c.toolbox) m.AddLanguage(kToolbox, name);
    m.machine.files.AddFile(std::string(kToolbox) + "readme.txt", "[SM_M]\r\nM_Who=readme\r\n");
    TLanguage language = m.Toolbox();
    if (c.chosen != nullptr) language.Select(c.chosen);
    EXPECT_EQ(language.GetModuleText("M_Who", "default"), c.expectedWho);
  }
}

TEST_F(LanguageTest, SelectingAnotherLanguageReplacesAllTexts) {
  AddLanguage(kToolbox, "Deutsch", "M_OnlyHere=nur hier\r\n[Extra]\r\nk=v\r\n");
  AddLanguage(kToolbox, "English");
  TLanguage language = Toolbox();
  language.Select("Deutsch");
  ASSERT_EQ(language.GetModuleText("M_OnlyHere", "default"), "nur hier");
  language.Select("English");
  EXPECT_EQ(language.GetModuleText("M_OnlyHere", "default"), "default");
  EXPECT_EQ(language.GetText("Extra", "k", "default"), "default");
  // A file that came after the listing is not a language.
  AddLanguage(kToolbox, "Late");
  language.Select("Late");
  EXPECT_EQ(language.GetModuleText("M_Who", ""), "English@toolbox");
}

// A language file the suite holds open is read; one locked against readers or not
// valid in its encoding leaves no texts, not those of the language before.
TEST_F(LanguageTest, FilesHeldOpenAreReadAndUnreadableOnesGiveDefaults) {
  AddLanguage(kToolbox, "Deutsch");
  AddLanguage(kToolbox, "English");
  AddLanguage(kToolbox, "Francais");
  machine.files.AddFile(std::string(kToolbox) + "Suomi.lng", "\xEF\xBB\xBF[SM_M]\r\nM_Who=\xC3\x28\r\n");
  machine.files.HoldOpenForWriting(std::string(kToolbox) + "Deutsch.lng");
  machine.files.SetUnreadable(std::string(kToolbox) + "Francais.lng");
  TLanguage language = Toolbox();

  language.Select("Deutsch");
  EXPECT_EQ(language.GetModuleText("M_Who", "default"), "Deutsch@toolbox");
  language.Select("Francais");
  EXPECT_EQ(language.GetModuleText("M_Who", "default"), "default");
  language.Select("Deutsch");
  language.Select("Suomi");
  EXPECT_EQ(language.GetText("SM_M", "M_Who", "default"), "default");
}

// --- The user's language ----------------------------------------------------------

TEST(CurrentLanguageName, ReadsMainLanguageOfMainIniElseEnglish) {
  testing::FakePlatform machine;
  EXPECT_EQ(CurrentLanguageName(machine.files, machine.profile, machine.shell), "English");
  machine.files.AddFile(kMainIni, Utf16File("[Main]\r\nSkin=classic\r\nLanguage=Deutsch\r\n"));
  EXPECT_EQ(CurrentLanguageName(machine.files, machine.profile, machine.shell), "Deutsch");
}

// --- Look-ups -----------------------------------------------------------------------

constexpr std::string_view kLookupFile =
    "[SM_M]\r\n"
    "M_savedTime = %s mit Kestrune gespart. \r\n"
    "M_Equals=a=b\r\n"
    "[XX_M]\r\n"
    "M_Other=another module\r\n";

// The module texts are the section named <prefix>_M; the rules of the settings
// file's parser (first key, first section, empty values) are those of its own tests.
TEST_F(LanguageTest, ModuleTextsFindKeysIgnoringCaseAndGiveStoredTextExactly) {
  const struct {
    const char* name;
    const char* key;
    const char* expected;
  } cases[] = {
      {"NamesIgnoreCaseValueTrimmed", "m_SAVEDtime", "%s mit Kestrune gespart."},
      {"ValueAfterTheFirstEquals", "M_Equals", "a=b"}, {"MissingKey", "M_Missing", "<default>"},
      {"AnotherModulesSection", "M_Other", "<default>"},
  };
  machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16File(kLookupFile));
  const TLanguage language = Toolbox();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(language.GetModuleText(c.key, "<default>"), c.expected);
    EXPECT_EQ(language.GetText("sm_M", c.key, "<default>"), c.expected);
  }
}

// --- Translating a form -----------------------------------------------------------------

constexpr std::string_view kFormFile =
    "[Bmark_MainForm_SM]\r\n"
    "Ctl.Caption=translated caption\r\n"
    "Ctl.Hint=translated hint\r\n"
    "Ctl.Items[0].Caption=item 0\r\n"
    "Ctl.Items[2].Caption=item 2\r\n"
    "Ctl.Columns[1].Caption=column 1\r\n"
    "[Bmark_MainForm_XX]\r\n"
    "Other.Caption=of another module\r\n";

// Sets the texts of each kind by key and keeps the designed ones of absent keys.
TEST(LanguageTranslate, SetsTheKindsTextsByKey) {
  using enum ControlKind;
  const char* const tc = "translated caption";
  const char* const dc = "designed caption";
  const char* const th = "translated hint";
  const char* const dh = "designed hint";
  const Names designedItems{"designed 0", "designed 1", "designed 2"}, translatedItems{"item 0", "designed 1", "item 2"};
  const Names designedColumns{"designed 0", "designed 1"}, translatedColumns{"designed 0", "column 1"};
  const struct {
    const char* name;
    std::vector<ControlKind> kinds;
    const char* control;
    bool showHint;
    const char* caption;
    const char* hint;
    bool itemsTranslated, columnsTranslated;
  } cases[] = {
      {"Captions",
       {Label, Button, GroupBox, CheckBox, RadioButton, ToolButton, SpeedButton, TabSheet, SkinnedLabel,
        SkinnedImageButton, MenuItem},
       "Ctl", false, tc, dh, false, false},
      {"SkinnedImageShowingHints", {SkinnedImage}, "Ctl", true, dc, th, false, false},
      {"SkinnedImageWithoutHints", {SkinnedImage}, "Ctl", false, dc, dh, false, false},
      {"Items", {NoteLabel, ComboBox, TreeView}, "Ctl", false, dc, dh, true, false},
      {"ListViewColumns", {ListView}, "Ctl", false, dc, dh, false, true},
      {"Untranslated", {HyperlinkLabel, Image, Panel, Timer}, "Ctl", true, dc, dh, false, false},
      {"AbsentKeyKeepsTheDesignedCaption", {Button}, "Absent", false, dc, dh, false, false},
      {"OnlyTheOwnPrefixsSection", {Label}, "Other", false, dc, dh, false, false},
  };
  for (const auto& c : cases) {
    for (const ControlKind kind : c.kinds) {
      SCOPED_TRACE(::testing::Message() << c.name << " " << static_cast<int>(kind));
      LanguageMachine m;
      m.machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16File(kFormFile));
      FormModel form("Bmark_MainForm");
      form.Add("Before", Label).caption = "designed";
      FormControl& control = form.Add(c.control, kind);
      control.caption = dc;
      control.hint = dh;
      control.showHint = c.showHint;
      control.items = designedItems;
      control.columns = designedColumns;

      m.Toolbox().Translate(form);
      EXPECT_EQ(control.caption, c.caption);
      EXPECT_EQ(control.hint, c.hint);
      EXPECT_EQ(control.items, c.itemsTranslated ? translatedItems : designedItems);
      EXPECT_EQ(control.columns, c.columnsTranslated ? translatedColumns : designedColumns);
      EXPECT_EQ(form.Controls().front().caption, "designed");
    }
  }
}

TEST_F(LanguageTest, FormWithoutNameIsNotTranslated) {
  machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16File("[_SM]\r\nCtl.Caption=translated\r\n"));
  FormModel form("");
  form.Add("Ctl", ControlKind::Label).caption = "designed";
  Toolbox().Translate(form);
  EXPECT_EQ(form.Controls().front().caption, "designed");
}

}  // namespace
}  // namespace bootmark
