// TLanguage: listing the two language folders, choosing a language with the
// English fall-back, the look-up rules, translating a form by component kind,
// encodings by byte order mark, and the language chosen in "Main.ini".
#include "common/language.h"

#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

using Names = std::vector<std::string>;

constexpr std::string_view kProgramDir = "C:\\Program Files\\Tarvo\\Kestrune\\";
constexpr std::string_view kLanguage = "C:\\Program Files\\Tarvo\\Kestrune\\Language\\";
constexpr std::string_view kToolbox = "C:\\Program Files\\Tarvo\\Kestrune\\Toolbox_Language\\";
constexpr std::string_view kMainIni = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Main.ini";

std::string Utf16LE(std::string_view utf8) {
  std::string bytes(ByteOrderMark(TextEncoding::Utf16LE));
  AppendUtf16(bytes, utf8);
  return bytes;
}

struct CaseName {
  template <typename T>
  std::string operator()(const ::testing::TestParamInfo<T>& test) const {
    return test.param.name;
  }
};

class LanguageTest : public ::testing::Test {
 protected:
  // A language file naming itself and its folder in [SM_M] M_Who.
  void AddLanguage(std::string_view folder, std::string_view name, std::string_view extra = "") {
    const std::string where = folder == kToolbox ? "toolbox" : "language";
    machine.files.AddFile(std::string(folder) + std::string(name) + ".lng",
                          Utf16LE("[Main]\r\nDisplayName=" + std::string(name) + " (" + where +
                                  ")\r\n[SM_M]\r\nM_Who=" + std::string(name) + "@" + where +
                                  "\r\n" + std::string(extra)));
  }

  TLanguage Toolbox() {
    return TLanguage(machine.files, machine.environment, "SM", std::string(kToolbox));
  }

  testing::FakePlatform machine;
};

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

struct SelectCase {
  const char* name;
  const char* chosen;
  Names toolbox;   // languages in Toolbox_Language
  Names language;  // languages in Language
  const char* expectedWho;
  int expectedIndex;
};

class SelectTest : public LanguageTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SelectTest, LoadsTheChosenLanguageElseEnglishElseKeepsWhatIsLoaded) {
  const SelectCase& c = GetParam();
  for (const std::string& name : c.language) AddLanguage(kLanguage, name);
  for (const std::string& name : c.toolbox) AddLanguage(kToolbox, name);
  TLanguage language = Toolbox();
  language.Select(c.chosen);
  EXPECT_EQ(language.GetModuleText("M_Who", "default"), c.expectedWho);
  EXPECT_EQ(language.CurrentIndex(), c.expectedIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectTest,
    ::testing::Values(
        SelectCase{"Present", "Deutsch", {"Deutsch", "English", "Francais"}, {}, "Deutsch@toolbox", 0},
        SelectCase{"NameIgnoresCase", "dEUTSCH", {"Deutsch", "English"}, {}, "Deutsch@toolbox", 0},
        SelectCase{"UnknownGivesEnglish", "Klingon", {"Deutsch", "English", "Francais"}, {},
                   "English@toolbox", 1},
        SelectCase{"EmptyGivesEnglish", "", {"Deutsch", "English"}, {}, "English@toolbox", 1},
        // Listed from the first folder, but loading looks in the language folder only.
        SelectCase{"OnlyInTheFirstFolderGivesEnglish", "Deutsch", {"English", "Suomi"}, {"Deutsch"},
                   "English@toolbox", 1},
        // Listed twice: the first entry is the current one, the file comes from the
        // language folder.
        SelectCase{"InBothFolders", "Deutsch", {"Deutsch", "English"}, {"Deutsch"}, "Deutsch@toolbox", 0},
        SelectCase{"EnglishOnlyInTheFirstFolderKeepsTheLastListed", "Klingon", {"Deutsch", "Suomi"},
                   {"English"}, "Suomi@toolbox", 2},
        SelectCase{"NeitherChosenNorEnglishKeepsTheLastListed", "Klingon", {"Deutsch", "Francais"}, {},
                   "Francais@toolbox", 1},
        SelectCase{"NothingListed", "English", {}, {}, "default", -1}),
    CaseName());

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

struct MainIniCase {
  const char* name;
  const char* mainIni;  // nullptr: no file
  const char* expected;
};

class CurrentLanguageTest : public LanguageTest, public ::testing::WithParamInterface<MainIniCase> {};

TEST_P(CurrentLanguageTest, ReadsMainLanguageOfMainIni) {
  if (GetParam().mainIni != nullptr) machine.files.AddFile(kMainIni, Utf16LE(GetParam().mainIni));
  EXPECT_EQ(CurrentLanguageName(machine.files, machine.profile, machine.shell), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CurrentLanguageTest,
    ::testing::Values(MainIniCase{"Missing", nullptr, "English"},
                      MainIniCase{"Set", "[Main]\r\nSkin=classic\r\nLanguage=Deutsch\r\n", "Deutsch"},
                      MainIniCase{"NamesIgnoreCase", "[MAIN]\r\nlanguage = Suomi\r\n", "Suomi"},
                      MainIniCase{"NoKey", "[Main]\r\nSkin=classic\r\n[Other]\r\nLanguage=x\r\n", "English"},
                      MainIniCase{"StoredEmpty", "[Main]\r\nLanguage=\r\n", ""}),
    CaseName());

TEST_F(LanguageTest, MissingMainIniOrMissingLanguageFileLoadsEnglish) {
  AddLanguage(kToolbox, "Deutsch");
  AddLanguage(kToolbox, "English");
  AddLanguage(kToolbox, "Suomi");
  TLanguage language = Toolbox();
  language.Select(CurrentLanguageName(machine.files, machine.profile, machine.shell));
  EXPECT_EQ(language.GetModuleText("M_Who", ""), "English@toolbox");

  machine.files.AddFile(kMainIni, Utf16LE("[Main]\r\nLanguage=Francais\r\n"));
  language.Select("Suomi");
  language.Select(CurrentLanguageName(machine.files, machine.profile, machine.shell));
  EXPECT_EQ(language.GetModuleText("M_Who", ""), "English@toolbox");
}

// --- Look-ups -----------------------------------------------------------------------

constexpr std::string_view kLookupFile =
    "Orphan=before any section\r\n"
    "[Main]\r\n"
    "DisplayName = Deutsch \r\n"
    "; M_Comment=not a key\r\n"
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

struct LookupCase {
  const char* name;
  const char* section;
  const char* key;
  const char* expected;
};

class LookupTest : public LanguageTest, public ::testing::WithParamInterface<LookupCase> {
 protected:
  void SetUp() override { machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16LE(kLookupFile)); }
};

TEST_P(LookupTest, GetTextFindsSectionAndKeyIgnoringCaseAndGivesStoredTextExactly) {
  const TLanguage language = Toolbox();
  EXPECT_EQ(language.GetText(GetParam().section, GetParam().key, "<default>"), GetParam().expected);
  // The module texts are the first section named <prefix>_M.
  if (SameText(GetParam().section, "SM_M")) {
    EXPECT_EQ(language.GetModuleText(GetParam().key, "<default>"), GetParam().expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupTest,
    ::testing::Values(LookupCase{"Trimmed", "Main", "DisplayName", "Deutsch"},
                      LookupCase{"NamesIgnoreCase", "sm_M", "m_SAVEDtime", "%s mit Kestrune gespart."},
                      LookupCase{"StoredEmptyIsEmpty", "SM_M", "M_Empty", ""},
                      LookupCase{"ValueAfterTheFirstEquals", "SM_M", "M_Equals", "a=b"},
                      LookupCase{"FirstOfTwoKeys", "SM_M", "M_Twice", "first"},
                      LookupCase{"MissingKey", "SM_M", "M_Missing", "<default>"},
                      LookupCase{"LineWithoutEqualsIsNoKey", "SM_M", "no equals sign", "<default>"},
                      LookupCase{"SecondSectionOfTheSameName", "SM_M", "M_Later", "<default>"},
                      LookupCase{"CommentIsNoKey", "Main", "; M_Comment", "<default>"},
                      LookupCase{"LinesBeforeTheFirstSectionAreDropped", "", "Orphan", "<default>"},
                      LookupCase{"MissingSection", "Nowhere", "DisplayName", "<default>"},
                      LookupCase{"OtherModule", "XX_M", "M_Other", "another module"}),
    CaseName());

TEST_F(LanguageTest, ModuleTextsAreOnlyThoseOfTheOwnPrefix) {
  machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16LE(kLookupFile));
  const TLanguage language(machine.files, machine.environment, "XX", std::string(kToolbox));
  EXPECT_EQ(language.GetModuleText("M_Other", "<default>"), "another module");
  EXPECT_EQ(language.GetModuleText("M_savedTime", "<default>"), "<default>");
}

// --- Encodings ------------------------------------------------------------------------

struct EncodingCase {
  const char* name;
  std::string bytes;
};

class EncodingTest : public LanguageTest, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(EncodingTest, TextIsDecodedByTheByteOrderMark) {
  machine.files.AddFile(std::string(kToolbox) + "Fran\xC3\xA7" "ais.lng", GetParam().bytes);
  TLanguage language = Toolbox();
  language.Select("Fran\xC3\xA7" "ais");
  EXPECT_EQ(language.DisplayNames(), Names{"Fran\xC3\xA7" "ais"});
  EXPECT_EQ(language.GetModuleText("M_Title", ""), "D\xC3\xA9marrage \xE2\x82\xAC");
}

std::string Utf16BE(std::string_view utf8) {
  std::string bytes(ByteOrderMark(TextEncoding::Utf16BE));
  AppendUtf16(bytes, utf8, true);
  return bytes;
}

constexpr const char* kEncodedText =
    "[Main]\r\nDisplayName=Fran\xC3\xA7" "ais\r\n[SM_M]\r\nM_Title=D\xC3\xA9marrage \xE2\x82\xAC\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodingTest,
    ::testing::Values(
        EncodingCase{"Utf16LE", Utf16LE(kEncodedText)}, EncodingCase{"Utf16BE", Utf16BE(kEncodedText)},
        EncodingCase{"Utf8WithMark", "\xEF\xBB\xBF" + std::string(kEncodedText)},
        // Without a mark: the ANSI code page (Windows-1252 in the fake).
        EncodingCase{"Ansi", "[Main]\nDisplayName=Fran\xE7" "ais\n[SM_M]\nM_Title=D\xE9marrage \x80\n"}),
    CaseName());

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

struct TranslateCase {
  const char* name;
  ControlKind kind;
  const char* controlName;
  bool showHint;
  const char* expectedCaption;
  const char* expectedHint;
  Names expectedItems;
  Names expectedColumns;
};

class TranslateTest : public LanguageTest, public ::testing::WithParamInterface<TranslateCase> {};

TEST_P(TranslateTest, SetsTheKindsTextsByKeyAndKeepsTheDesignedOnesOfAbsentKeys) {
  const TranslateCase& c = GetParam();
  machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16LE(kFormFile));
  FormModel form("Bmark_MainForm");
  form.Add("Before", ControlKind::Label).caption = "designed";
  FormControl& control = form.Add(c.controlName, c.kind);
  control.caption = "designed caption";
  control.hint = "designed hint";
  control.showHint = c.showHint;
  control.items = {"designed 0", "designed 1", "designed 2"};
  control.columns = {"designed 0", "designed 1"};

  Toolbox().Translate(form);
  EXPECT_EQ(control.caption, c.expectedCaption);
  EXPECT_EQ(control.hint, c.expectedHint);
  EXPECT_EQ(control.items, c.expectedItems);
  EXPECT_EQ(control.columns, c.expectedColumns);
  EXPECT_EQ(form.Controls().front().caption, "designed");
}

const Names kDesignedItems{"designed 0", "designed 1", "designed 2"};
const Names kDesignedColumns{"designed 0", "designed 1"};
const Names kTranslatedItems{"item 0", "designed 1", "item 2"};
const Names kTranslatedColumns{"designed 0", "column 1"};

TranslateCase CaptionCase(const char* name, ControlKind kind) {
  return {name, kind, "Ctl", false, "translated caption", "designed hint", kDesignedItems, kDesignedColumns};
}

TranslateCase UnchangedCase(const char* name, ControlKind kind, bool showHint = false) {
  return {name, kind, "Ctl", showHint, "designed caption", "designed hint", kDesignedItems, kDesignedColumns};
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TranslateTest,
    ::testing::Values(
        CaptionCase("Label", ControlKind::Label), CaptionCase("Button", ControlKind::Button),
        CaptionCase("GroupBox", ControlKind::GroupBox), CaptionCase("CheckBox", ControlKind::CheckBox),
        CaptionCase("RadioButton", ControlKind::RadioButton), CaptionCase("ToolButton", ControlKind::ToolButton),
        CaptionCase("SpeedButton", ControlKind::SpeedButton), CaptionCase("TabSheet", ControlKind::TabSheet),
        CaptionCase("SkinnedLabel", ControlKind::SkinnedLabel),
        CaptionCase("SkinnedImageButton", ControlKind::SkinnedImageButton),
        CaptionCase("MenuItem", ControlKind::MenuItem),
        TranslateCase{"SkinnedImageShowingHints", ControlKind::SkinnedImage, "Ctl", true, "designed caption",
                      "translated hint", kDesignedItems, kDesignedColumns},
        UnchangedCase("SkinnedImageWithoutHints", ControlKind::SkinnedImage),
        TranslateCase{"NoteLabelLines", ControlKind::NoteLabel, "Ctl", false, "designed caption", "designed hint",
                      kTranslatedItems, kDesignedColumns},
        TranslateCase{"ComboBoxItems", ControlKind::ComboBox, "Ctl", false, "designed caption", "designed hint",
                      kTranslatedItems, kDesignedColumns},
        TranslateCase{"TreeViewItems", ControlKind::TreeView, "Ctl", false, "designed caption", "designed hint",
                      kTranslatedItems, kDesignedColumns},
        TranslateCase{"ListViewColumns", ControlKind::ListView, "Ctl", false, "designed caption", "designed hint",
                      kDesignedItems, kTranslatedColumns},
        UnchangedCase("HyperlinkLabel", ControlKind::HyperlinkLabel, true),
        UnchangedCase("Image", ControlKind::Image, true), UnchangedCase("Panel", ControlKind::Panel),
        UnchangedCase("Timer", ControlKind::Timer),
        TranslateCase{"AbsentKeyKeepsTheDesignedCaption", ControlKind::Button, "Absent", false,
                      "designed caption", "designed hint", kDesignedItems, kDesignedColumns},
        TranslateCase{"StoredEmptyCaptionIsEmpty", ControlKind::SkinnedImageButton, "Empty", false, "",
                      "designed hint", kDesignedItems, kDesignedColumns},
        TranslateCase{"KeysIgnoreCase", ControlKind::Label, "lower", false, "any case", "designed hint",
                      kDesignedItems, kDesignedColumns},
        TranslateCase{"OnlyTheOwnPrefixsSection", ControlKind::Label, "Other", false, "designed caption",
                      "designed hint", kDesignedItems, kDesignedColumns}),
    CaseName());

TEST_F(LanguageTest, FormWithoutNameIsNotTranslated) {
  machine.files.AddFile(std::string(kToolbox) + "English.lng", Utf16LE("[_SM]\r\nCtl.Caption=translated\r\n"));
  FormModel form("");
  form.Add("Ctl", ControlKind::Label).caption = "designed";
  Toolbox().Translate(form);
  EXPECT_EQ(form.Controls().front().caption, "designed");
}

// --- Lang.dat ---------------------------------------------------------------------------

struct LangDatCase {
  const char* name;
  const char* content;  // nullptr: no file
  bool expectedExists;
  const char* expectedName;
  const char* expectedPartner;
};

class LangDatTest : public LanguageTest, public ::testing::WithParamInterface<LangDatCase> {};

TEST_P(LangDatTest, ReadsCusLanWithoutEverWritingTheFile) {
  const std::string path = std::string(kProgramDir) + "Lang.dat";
  if (GetParam().content != nullptr) machine.files.AddFile(path, Utf16LE(GetParam().content));
  const LangDat langDat = ReadLangDat(machine.files, machine.environment);
  EXPECT_EQ(langDat.exists, GetParam().expectedExists);
  EXPECT_EQ(langDat.name, GetParam().expectedName);
  EXPECT_EQ(langDat.partner, GetParam().expectedPartner);
  EXPECT_EQ(machine.files.TotalWriteCount(), 0);
  EXPECT_EQ(machine.files.FileExists(path), GetParam().expectedExists);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LangDatTest,
    ::testing::Values(LangDatCase{"Missing", nullptr, false, "", ""},
                      LangDatCase{"Both", "[CusLan]\r\nName = de \r\npr= acme \r\n", true, "de", "acme"},
                      LangDatCase{"EmptyPartner", "[cuslan]\r\nname=fr\r\npr=\r\n", true, "fr", ""},
                      LangDatCase{"OtherSection", "[Main]\r\nName=de\r\npr=acme\r\n", true, "", ""}),
    CaseName());

}  // namespace
}  // namespace bootmark
