// TLanguage: listing the two language folders, choosing a language with the
// English fall-back, the look-up rules, translating a form by component kind,
// encodings by byte order mark, and the language chosen in "Main.ini".
#include "ui/language.h"

#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"
#include "fakes/utf16_file.h"

namespace bootmark {
namespace {

using testing::Utf16File;

using Names = std::vector<std::string>;

constexpr std::string_view kProgramDir = "C:\\Program Files\\Tarvo\\Kestrune\\";
constexpr std::string_view kLanguage = "C:\\Program Files\\Tarvo\\Kestrune\\Language\\";
constexpr std::string_view kToolbox = "C:\\Program Files\\Tarvo\\Kestrune\\Toolbox_Language\\";
constexpr std::string_view kMainIni = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Main.ini";

// A machine with language files; table rows each make their own.
struct LanguageMachine {
  // A language file naming itself and its folder in [SM_M] M_Who.
  void AddLanguage(std::string_view folder, std::string_view name, std::string_view extra = "") {
    const std::string where = folder == kToolbox ? "toolbox" : "language";
    machine.files.AddFile(std::string(folder) + std::string(name) + ".lng",
                          Utf16File("[Main]\r\nDisplayName=" + std::string(name) + " (" + where +
                                  ")\r\n[SM_M]\r\nM_Who=" + std::string(name) + "@" + where +
                                  "\r\n" + std::string(extra)));
  }

  TLanguage Toolbox() {
    return TLanguage(machine.files, machine.environment, "SM", std::string(kToolbox));
  }

  testing::FakePlatform machine;
};

class LanguageTest : public ::testing::Test, public LanguageMachine {};

// --- Listing ----------------------------------------------------------------------

TEST_F(LanguageTest, ListsBothFoldersInOrderAndKeepsTheLastListedLanguageLoaded) {
  AddLanguage(kLanguage, "English");
  AddLanguage(kLanguage, "Deutsch");
  AddLanguage(kToolbox, "Francais");
  AddLanguage(kToolbox, "English");
  // No DisplayName: the language name stands in.
  machine.files.AddFile(std::string(kToolbox) + "Suomi.lng", "[SM_M]\r\nM_Who=Suomi@toolbox\r\n");
  machine.files.AddFile(std::string(kToolbox) + "readme.txt", "[Main]\r\nDisplayName=no\r\n");

  const TLanguage language = Toolbox();
  // The fake lists a folder in name order; each folder's files follow the other's.
  EXPECT_EQ(language.LanguageNames(), (Names{"Deutsch", "English", "English", "Francais", "Suomi"}));
  EXPECT_EQ(language.DisplayNames(),
            (Names{"Deutsch (language)", "English (language)", "English (toolbox)",
                   "Francais (toolbox)", "Suomi"}));
  EXPECT_EQ(language.LanguageFolder(), std::string(kToolbox.substr(0, kToolbox.size() - 1)));
  EXPECT_EQ(language.CurrentIndex(), 4);
  EXPECT_EQ(language.GetModuleText("M_Who", ""), "Suomi@toolbox");
}

TEST_F(LanguageTest, OneFolderOnlyWhenNoSecondIsGiven) {
  AddLanguage(kLanguage, "English");
  AddLanguage(kToolbox, "Deutsch");
  const TLanguage language(machine.files, machine.environment, "SM");
  EXPECT_EQ(language.LanguageNames(), Names{"English"});
  EXPECT_EQ(language.LanguageFolder(), std::string(kLanguage.substr(0, kLanguage.size() - 1)));
  EXPECT_EQ(language.GetModuleText("M_Who", ""), "English@language");
}

TEST_F(LanguageTest, NoLanguageFilesGiveEveryDefault) {
  TLanguage language = Toolbox();
  language.Select("English");
  EXPECT_TRUE(language.LanguageNames().empty());
  EXPECT_EQ(language.CurrentIndex(), -1);
  EXPECT_EQ(language.GetText("Main", "DisplayName", "Default"), "Default");
  EXPECT_EQ(language.GetModuleText("M_Who", "Default"), "Default");
}

// --- Choosing ---------------------------------------------------------------------

TEST(LanguageSelect, LoadsTheChosenLanguageElseEnglishElseKeepsWhatIsLoaded) {
  const struct {
    const char* name;
    const char* chosen;
    Names toolbox;   // languages in Toolbox_Language
    Names language;  // languages in Language
    const char* expectedWho;
    int expectedIndex;
  } cases[] = {
      {"Present", "Deutsch", {"Deutsch", "English", "Francais"}, {}, "Deutsch@toolbox", 0},
      {"NameIgnoresCase", "dEUTSCH", {"Deutsch", "English"}, {}, "Deutsch@toolbox", 0},
      {"UnknownGivesEnglish", "Klingon", {"Deutsch", "English", "Francais"}, {}, "English@toolbox", 1},
      {"EmptyGivesEnglish", "", {"Deutsch", "English"}, {}, "English@toolbox", 1},
      // Listed from the first folder, but loading looks in the language folder only.
      {"OnlyInTheFirstFolderGivesEnglish", "Deutsch", {"English", "Suomi"}, {"Deutsch"}, "English@toolbox", 1},
      // Listed twice: the first entry is the current one, the file comes from the
      // language folder.
      {"InBothFolders", "Deutsch", {"Deutsch", "English"}, {"Deutsch"}, "Deutsch@toolbox", 0},
      {"EnglishOnlyInTheFirstFolderKeepsTheLastListed", "Klingon", {"Deutsch", "Suomi"}, {"English"},
       "Suomi@toolbox", 2},
      {"NeitherChosenNorEnglishKeepsTheLastListed", "Klingon", {"Deutsch", "Francais"}, {}, "Francais@toolbox", 1},
      {"NothingListed", "English", {}, {}, "default", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LanguageMachine m;
    for (const std::string& name : c.language) m.AddLanguage(kLanguage, name);
    for (const std::string& name : c.toolbox) m.AddLanguage(kToolbox, name);
    TLanguage language = m.Toolbox();
    language.Select(c.chosen);
    EXPECT_EQ(language.GetModuleText("M_Who", "default"), c.expectedWho);
    EXPECT_EQ(language.CurrentIndex(), c.expectedIndex);
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
  EXPECT_EQ(language.CurrentIndex(), 2);
  EXPECT_EQ(language.GetModuleText("M_Who", "default"), "default");
  language.Select("Deutsch");
  language.Select("Suomi");
  EXPECT_EQ(language.GetModuleText("M_Who", "default"), "default");
  EXPECT_EQ(language.GetText("Main", "DisplayName", "default"), "default");
}

// --- The user's language ----------------------------------------------------------

TEST(CurrentLanguageName, ReadsMainLanguageOfMainIni) {
  const struct {
    const char* name;
    const char* mainIni;  // nullptr: no file
    const char* expected;
  } cases[] = {
      {"Missing", nullptr, "English"},
      {"Set", "[Main]\r\nSkin=classic\r\nLanguage=Deutsch\r\n", "Deutsch"},
      {"NamesIgnoreCase", "[MAIN]\r\nlanguage = Suomi\r\n", "Suomi"},
      {"NoKey", "[Main]\r\nSkin=classic\r\n[Other]\r\nLanguage=x\r\n", "English"},
      {"StoredEmpty", "[Main]\r\nLanguage=\r\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::FakePlatform machine;
    if (c.mainIni != nullptr) machine.files.AddFile(kMainIni, Utf16File(c.mainIni));
    EXPECT_EQ(CurrentLanguageName(machine.files, machine.profile, machine.shell), c.expected);
  }
}

// --- Look-ups -----------------------------------------------------------------------

constexpr std::string_view kLookupFile =
    "[SM_M]\r\n"
    "M_savedTime = %s mit Kestrune gespart. \r\n"
    "M_Empty=\r\n"
    "M_Equals=a=b\r\n"
    "M_Twice=first\r\n"
    "M_Twice=second\r\n"
    "no equals sign\r\n"
    "[sm_m]\r\n"
    "M_Later=in the second section of that name\r\n"
    "[XX_M]\r\n"
    "M_Other=another module\r\n";

// The module texts are the first section named <prefix>_M; the rules of the
// settings file's parser are those of its own tests.
TEST_F(LanguageTest, ModuleTextsFindKeysIgnoringCaseAndGiveStoredTextExactly) {
  const struct {
    const char* name;
    const char* key;
    const char* expected;
  } cases[] = {
      {"NamesIgnoreCaseValueTrimmed", "m_SAVEDtime", "%s mit Kestrune gespart."},
      {"StoredEmptyIsEmpty", "M_Empty", ""}, {"ValueAfterTheFirstEquals", "M_Equals", "a=b"},
      {"FirstOfTwoKeys", "M_Twice", "first"}, {"MissingKey", "M_Missing", "<default>"},
      {"LineWithoutEqualsIsNoKey", "no equals sign", "<default>"},
      {"SecondSectionOfTheSameName", "M_Later", "<default>"},
  };
  machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16File(kLookupFile));
  const TLanguage language = Toolbox();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(language.GetModuleText(c.key, "<default>"), c.expected);
    EXPECT_EQ(language.GetText("sm_M", c.key, "<default>"), c.expected);
  }
}

TEST_F(LanguageTest, ModuleTextsAreOnlyThoseOfTheOwnPrefix) {
  machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16File(kLookupFile));
  const TLanguage language(machine.files, machine.environment, "XX", std::string(kToolbox));
  EXPECT_EQ(language.GetModuleText("M_Other", "<default>"), "another module");
  EXPECT_EQ(language.GetModuleText("M_savedTime", "<default>"), "<default>");
}

// --- Encodings ------------------------------------------------------------------------

TEST(LanguageEncoding, TextIsDecodedByTheByteOrderMark) {
  const std::string text =
      "[Main]\r\nDisplayName=Fran\xC3\xA7" "ais\r\n[SM_M]\r\nM_Title=D\xC3\xA9marrage \xE2\x82\xAC\r\n";
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"Utf16LE", Utf16File(text)}, {"Utf16BE", Utf16File(text, true)}, {"Utf8WithMark", "\xEF\xBB\xBF" + text},
      // Without a mark: the ANSI code page (Windows-1252 in the fake).
      {"Ansi", "[Main]\nDisplayName=Fran\xE7" "ais\n[SM_M]\nM_Title=D\xE9marrage \x80\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LanguageMachine m;
    m.machine.files.AddFile(std::string(kToolbox) + "Fran\xC3\xA7" "ais.lng", c.bytes);
    TLanguage language = m.Toolbox();
    language.Select("Fran\xC3\xA7" "ais");
    EXPECT_EQ(language.DisplayNames(), Names{"Fran\xC3\xA7" "ais"});
    EXPECT_EQ(language.GetModuleText("M_Title", ""), "D\xC3\xA9marrage \xE2\x82\xAC");
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
    "Empty.Caption=\r\n"
    "LOWER.caption=any case\r\n"
    "[Bmark_MainForm_XX]\r\n"
    "Other.Caption=of another module\r\n";

// Sets the texts of each kind by key and keeps the designed ones of absent keys.
TEST(LanguageTranslate, SetsTheKindsTextsByKey) {
  const char* const tc = "translated caption";
  const char* const dc = "designed caption";
  const char* const th = "translated hint";
  const char* const dh = "designed hint";
  const Names designedItems{"designed 0", "designed 1", "designed 2"}, translatedItems{"item 0", "designed 1", "item 2"};
  const Names designedColumns{"designed 0", "designed 1"}, translatedColumns{"designed 0", "column 1"};
  const struct {
    const char* name;
    ControlKind kind;
    const char* control;
    bool showHint;
    const char* caption;
    const char* hint;
    bool itemsTranslated, columnsTranslated;
  } cases[] = {
      {"Label", ControlKind::Label, "Ctl", false, tc, dh, false, false},
      {"Button", ControlKind::Button, "Ctl", false, tc, dh, false, false},
      {"GroupBox", ControlKind::GroupBox, "Ctl", false, tc, dh, false, false},
      {"CheckBox", ControlKind::CheckBox, "Ctl", false, tc, dh, false, false},
      {"RadioButton", ControlKind::RadioButton, "Ctl", false, tc, dh, false, false},
      {"ToolButton", ControlKind::ToolButton, "Ctl", false, tc, dh, false, false},
      {"SpeedButton", ControlKind::SpeedButton, "Ctl", false, tc, dh, false, false},
      {"TabSheet", ControlKind::TabSheet, "Ctl", false, tc, dh, false, false},
      {"SkinnedLabel", ControlKind::SkinnedLabel, "Ctl", false, tc, dh, false, false},
      {"SkinnedImageButton", ControlKind::SkinnedImageButton, "Ctl", false, tc, dh, false, false},
      {"MenuItem", ControlKind::MenuItem, "Ctl", false, tc, dh, false, false},
      {"SkinnedImageShowingHints", ControlKind::SkinnedImage, "Ctl", true, dc, th, false, false},
      {"SkinnedImageWithoutHints", ControlKind::SkinnedImage, "Ctl", false, dc, dh, false, false},
      {"NoteLabelLines", ControlKind::NoteLabel, "Ctl", false, dc, dh, true, false},
      {"ComboBoxItems", ControlKind::ComboBox, "Ctl", false, dc, dh, true, false},
      {"TreeViewItems", ControlKind::TreeView, "Ctl", false, dc, dh, true, false},
      {"ListViewColumns", ControlKind::ListView, "Ctl", false, dc, dh, false, true},
      {"HyperlinkLabel", ControlKind::HyperlinkLabel, "Ctl", true, dc, dh, false, false},
      {"Image", ControlKind::Image, "Ctl", true, dc, dh, false, false},
      {"Panel", ControlKind::Panel, "Ctl", false, dc, dh, false, false},
      {"Timer", ControlKind::Timer, "Ctl", false, dc, dh, false, false},
      {"AbsentKeyKeepsTheDesignedCaption", ControlKind::Button, "Absent", false, dc, dh, false, false},
      {"StoredEmptyCaptionIsEmpty", ControlKind::SkinnedImageButton, "Empty", false, "", dh, false, false},
      {"KeysIgnoreCase", ControlKind::Label, "lower", false, "any case", dh, false, false},
      {"OnlyTheOwnPrefixsSection", ControlKind::Label, "Other", false, dc, dh, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LanguageMachine m;
    m.machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16File(kFormFile));
    FormModel form("Bmark_MainForm");
    form.Add("Before", ControlKind::Label).caption = "designed";
    FormControl& control = form.Add(c.control, c.kind);
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

TEST_F(LanguageTest, FormWithoutNameIsNotTranslated) {
  machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16File("[_SM]\r\nCtl.Caption=translated\r\n"));
  FormModel form("");
  form.Add("Ctl", ControlKind::Label).caption = "designed";
  Toolbox().Translate(form);
  EXPECT_EQ(form.Controls().front().caption, "designed");
}

// --- Lang.dat ---------------------------------------------------------------------------

TEST(LangDat, ReadsCusLanWithoutEverWritingTheFile) {
  const struct {
    const char* name;
    const char* content;  // nullptr: no file
    bool exists;
    const char* languageName;
    const char* partner;
  } cases[] = {
      {"Missing", nullptr, false, "", ""},
      {"Both", "[CusLan]\r\nName = de \r\npr= acme \r\n", true, "de", "acme"},
      {"EmptyPartner", "[cuslan]\r\nname=fr\r\npr=\r\n", true, "fr", ""},
      {"OtherSection", "[Main]\r\nName=de\r\npr=acme\r\n", true, "", ""},
  };
  const std::string path = std::string(kProgramDir) + "Lang.dat";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::FakePlatform machine;
    if (c.content != nullptr) machine.files.AddFile(path, Utf16File(c.content));
    const LangDat langDat = ReadLangDat(machine.files, machine.environment);
    EXPECT_EQ(langDat.exists, c.exists);
    EXPECT_EQ(langDat.name, c.languageName);
    EXPECT_EQ(langDat.partner, c.partner);
    EXPECT_EQ(machine.files.TotalWriteCount(), 0);
    EXPECT_EQ(machine.files.FileExists(path), c.exists);
  }
}

}  // namespace
}  // namespace bootmark
