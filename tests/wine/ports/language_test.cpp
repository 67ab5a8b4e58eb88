// TLanguage on real files: language folders listed by the system, a language file
// another program holds open, and the language chosen in a real "Main.ini"
// through the system's profile functions.
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_file_api.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/data_dirs.h"
#include "common/safe_ini_file.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_profile_api.h"
#include "platform/win32/win32_shell.h"
#include "scratch_folder.h"
#include "ui/language.h"

namespace bootmark::win32 {
namespace {

using testing::ScratchFolder;
using testing::Utf16File;
using testing::WriteFileBytes;
using Names = std::vector<std::string>;

// The real environment, with the program "installed" in the scratch folder.
class ScratchEnvironment : public Win32Environment {
 public:
  explicit ScratchEnvironment(std::string folder) : folder_(std::move(folder)) {}
  std::string ExecutablePath() override { return folder_ + "Bootmark.exe"; }

 private:
  std::string folder_;
};

// The real shell, with the user's roaming data folder inside the scratch folder.
class ScratchShell : public Win32Shell {
 public:
  explicit ScratchShell(std::string folder) : folder_(std::move(folder)) {}
  std::string GetSpecialFolderPath(int) override { return folder_ + "Roaming"; }

 private:
  std::string folder_;
};

std::string Language(std::string_view name, std::string_view who) {
  return "[Main]\r\nDisplayName=" + std::string(name) + "\r\n[SM_M]\r\nM_Who=" + std::string(who) + "\r\n";
}

class LanguageFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(files.CreateDirectory(folder / "Language"));
    ASSERT_TRUE(files.CreateDirectory(folder / "Toolbox_Language"));
    WriteFileBytes(folder / "Language\\Suomi.lng", Utf16File(Language("Suomi", "Suomi")));
    WriteFileBytes(folder / "Toolbox_Language\\English.lng", Utf16File(Language("English", "English")));
    WriteFileBytes(folder / "Toolbox_Language\\Deutsch.lng",
                   "\xEF\xBB\xBF" + Language("Deutsch", "Schlie\xC3\x9F" "en \xE2\x82\xAC"));
    WriteFileBytes(folder / "Toolbox_Language\\notes.txt", Utf16File(Language("Notes", "Notes")));
  }

  TLanguage Toolbox() { return TLanguage(files, environment, "SM", folder / "Toolbox_Language"); }

  ScratchFolder folder;
  Win32FileSystem files;
  Win32ProfileApi profile;
  ScratchEnvironment environment{folder.Path()};
  ScratchShell shell{folder.Path()};
};

TEST_F(LanguageFilesTest, BothFoldersAreListedWithTheirDisplayNames) {
  const TLanguage language = Toolbox();
  // The order within a folder is the system's; the first folder comes first.
  ASSERT_EQ(language.LanguageNames().size(), 3u);
  EXPECT_EQ(language.LanguageNames()[0], "Suomi");
  Names toolbox(language.LanguageNames().begin() + 1, language.LanguageNames().end());
  std::sort(toolbox.begin(), toolbox.end());
  EXPECT_EQ(toolbox, (Names{"Deutsch", "English"}));
  EXPECT_EQ(language.DisplayNames(), language.LanguageNames());
}

struct HolderCase {
  const char* name;
  DWORD access;
  DWORD share;
  const char* expected;
};

class HeldOpenTest : public LanguageFilesTest, public ::testing::WithParamInterface<HolderCase> {};

// The suite keeps language files open while sharing them: they are read all the
// same. Only a holder that lets nobody read keeps the texts at their defaults.
TEST_P(HeldOpenTest, FileHeldByAnotherHandle) {
  const std::string path = folder / "Toolbox_Language\\Deutsch.lng";
  const UniqueFileHandle holder(::CreateFileW(Wide(path).c_str(), GetParam().access, GetParam().share, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  TLanguage language = Toolbox();
  language.Select("Deutsch");
  EXPECT_EQ(language.GetModuleText("M_Who", "default"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Holders, HeldOpenTest,
    ::testing::Values(HolderCase{"ReadWriteSharingBoth", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, "Schlie\xC3\x9F" "en \xE2\x82\xAC"},
                      HolderCase{"WriterSharingReading", GENERIC_WRITE, FILE_SHARE_READ,
                                 "Schlie\xC3\x9F" "en \xE2\x82\xAC"},
                      HolderCase{"Exclusive", GENERIC_READ | GENERIC_WRITE, 0, "default"}),
    [](const ::testing::TestParamInfo<HolderCase>& test) { return std::string(test.param.name); });

TEST_F(LanguageFilesTest, LanguageChosenInMainIniThroughTheProfileFunctions) {
  EXPECT_EQ(CurrentLanguageName(files, profile, shell), "English");

  const std::wstring mainIni = Wide(GetSuiteUserDataDir(shell) + "Main.ini");
  ASSERT_TRUE(::WritePrivateProfileStringW(L"Main", L"Language", L"Deutsch", mainIni.c_str()));
  TLanguage language = Toolbox();
  language.Select(CurrentLanguageName(files, profile, shell));
  EXPECT_EQ(language.GetModuleText("M_Who", ""), "Schlie\xC3\x9F" "en \xE2\x82\xAC");

  // Listed from the first folder only: English of the language folder instead.
  ASSERT_TRUE(::WritePrivateProfileStringW(L"Main", L"Language", L"Suomi", mainIni.c_str()));
  language.Select(CurrentLanguageName(files, profile, shell));
  EXPECT_EQ(language.GetModuleText("M_Who", ""), "English");
}

}  // namespace
}  // namespace bootmark::win32
