// Command-line path resolution against a fake machine: Windows in C:\Windows, the
// system folder C:\Windows\system32 on the PATH.
#include "startup/command_path.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

using testing::FakePlatform;

class CommandPathTest : public ::testing::Test {
 protected:
  CommandPathTest() {
    machine.environment.variables = {{"windir", "C:\\Windows"},
                                     {"SystemRoot", "C:\\Windows"}, {"ProgramFiles", "C:\\Program Files (x86)"},
                                     {"Path", "C:\\Windows\\system32;C:\\Windows;C:\\Windows\\System32\\Wbem"},
                                     {"PATHEXT", ".COM;.EXE;.BAT;.CMD"}};
    for (const char* file : {"C:\\Windows\\system32\\ctfmon.exe", "C:\\Windows\\system32\\svchost.exe",
                             "C:\\Windows\\system32\\rundll32.exe", "C:\\Windows\\system32\\mylib.dll",
                             "C:\\Windows\\System32\\drivers\\x.sys", "C:\\Tools\\agent.exe",
                             "C:\\Program Files\\App\\app.exe", "C:\\App\\tool.exe"}) {
      machine.files.AddFile(file, "MZ");
    }
    machine.files.AddShortName("C:\\Program Files", "PROGRA~1");
  }

  FakePlatform machine;
  TCheckPath checkPath{machine.platform};
};

struct ResolveCase {
  const char* commandLine;
  const char* answer;
};

TEST_F(CommandPathTest, CommandLinesResolveToTheFileTheyStart) {
  const ResolveCase cases[] = {
      {R"(System32\svchost.exe -k netsvcs)", R"(C:\windows\System32\svchost.exe)"},
      {R"(\SystemRoot\System32\drivers\x.sys)", R"(C:\Windows\System32\drivers\x.sys)"},
      {R"(rundll32.exe mylib.dll,Start)", R"(C:\Windows\system32\mylib.dll)"},
      {R"(rundll32.exe missing.dll,Start)", R"(C:\Windows\system32\rundll32.exe)"},
      // A quoted command line without its closing quote: the text after the quote.
      {R"("C:\App\tool.exe)", R"(C:\App\tool.exe)"},
      // "System32" alone, or with nothing after the backslash, is not rewritten.
      {"System32\\", "System32\\"},
      {"system32\\svchost.exe", "C:\\windows\\system32\\svchost.exe"},
      // A 32-bit program's %ProgramFiles% is the "(x86)" folder; the native
      // folder of the Windows drive is tried when the file is not there.
      {R"(%ProgramFiles%\App\app.exe -silent)", R"(C:\Program Files\App\app.exe)"},
  };
  for (const ResolveCase& c : cases) EXPECT_EQ(checkPath.GetCommandFilePath(c.commandLine), c.answer) << c.commandLine;
}

TEST_F(CommandPathTest, BareNamesFallToThePathFoldersInAlphabeticalOrder) {
  // The PATH lists system32 first, but folders are tried sorted; the first found
  // is in C:\Windows.
  machine.files.AddFile("C:\\Windows\\system32\\notepad.exe", "MZ");
  machine.files.AddFile("C:\\Windows\\notepad.exe", "MZ");
  EXPECT_EQ(checkPath.GetCommandFilePath("notepad"), "C:\\Windows\\notepad.EXE");

  // Extensions are sorted too: .BAT before .EXE, whatever the folder.
  machine.files.AddFile("C:\\Windows\\System32\\Wbem\\notepad.bat", "@echo");
  EXPECT_EQ(checkPath.GetCommandFilePath("notepad /p x.txt"), "C:\\Windows\\System32\\Wbem\\notepad.BAT");
}

TEST_F(CommandPathTest, SearchListsAreSortedWithoutDuplicatesAndReadOnce) {
  machine.environment.variables["PATH"] = "C:\\b;;c:\\A;C:\\B;C:\\a\\;\"C:\\q\"";
  machine.environment.variables["PATHEXT"] = ".exe;.COM;;.EXE;.bat";
  EXPECT_EQ(checkPath.PathFolders(), (std::vector<std::string>{"\"C:\\q\"", "c:\\A", "C:\\a\\", "C:\\b"}));
  EXPECT_EQ(checkPath.PathExtensions(), (std::vector<std::string>{".bat", ".COM", ".exe"}));

  machine.environment.variables["PATH"] = "D:\\later";
  EXPECT_EQ(checkPath.PathFolders().size(), 4u);
}

TEST_F(CommandPathTest, SplitCommandLineTakesTheShortestPrefixWrittenInTheText) {
  machine.files.AddFile("C:\\Program Files\\App\\app.exe x.exe", "MZ");
  struct Case {
    const char* text;
    const char* filePath;
    const char* arguments;
  };
  for (const Case& c : {
           Case{R"(  "C:\Program Files\App\app.exe"   /a "b"  )", R"(C:\Program Files\App\app.exe)", R"(/a "b")"},
           // The shortest prefix, though the whole text names a file too.
           Case{R"(C:\Program Files\App\app.exe x.exe)", R"(C:\Program Files\App\app.exe)", "x.exe"},
           // The whole text, when no shorter prefix is a file.
           Case{R"(C:\App\tool.exe)", R"(C:\App\tool.exe)", ""},
           // Found through the search path but not written out: no file.
           Case{"ctfmon.exe /n", "", ""},
           // A folder is not a file.
           Case{R"(C:\Program Files\App)", "", ""}, Case{"", "", ""},
       }) {
    SCOPED_TRACE(c.text);
    const CommandLineParts parts = checkPath.SplitCommandLine(c.text);
    EXPECT_EQ(parts.filePath, c.filePath);
    EXPECT_EQ(parts.arguments, c.arguments);
  }
}

TEST_F(CommandPathTest, FindFileOnSearchPathLooksInTheNamesFolderThenThePath) {
  machine.files.AddFile("C:\\Tools\\helper.exe", "MZ");
  machine.files.AddFile("C:\\Windows\\system32\\helper.exe", "MZ");
  machine.files.AddFile("C:\\Windows\\system32\\Sub\\inner.exe", "MZ");
  EXPECT_EQ(checkPath.FindFileOnSearchPath("helper"), "C:\\Windows\\system32\\helper.exe");
  EXPECT_EQ(checkPath.FindFileOnSearchPath("C:\\Tools\\helper"), "C:\\Tools\\helper.exe");
  EXPECT_EQ(checkPath.FindFileOnSearchPath("Sub\\inner.exe"), "C:\\Windows\\system32\\Sub\\inner.exe");
  EXPECT_EQ(checkPath.FindFileOnSearchPath("C:\\Tools"), "");

  // Without a "path" variable the Windows folder's system32 is searched.
  machine.environment.variables.erase("Path");
  EXPECT_EQ(checkPath.FindFileOnSearchPath("ctfmon"), "C:\\Windows\\system32\\ctfmon.exe");
}

TEST_F(CommandPathTest, ResultsBeyondThePathLimitAreNotTaken) {
  // 259 characters fit the system's buffer with its terminating zero; 260 do not.
  const std::string folder = "C:\\" + std::string(240, 'd');
  const std::string fits = folder + "\\" + std::string(259 - folder.size() - 1 - 4, 'f') + ".exe";
  const std::string tooLong = folder + "\\" + std::string(260 - folder.size() - 1 - 4, 'f') + ".exe";
  machine.files.AddFile(fits, "MZ");
  machine.files.AddFile(tooLong, "MZ");
  EXPECT_EQ(checkPath.FindFileOnSearchPath(fits), fits);
  EXPECT_EQ(checkPath.FindFileOnSearchPath(tooLong), "");
  EXPECT_EQ(checkPath.SplitCommandLine(tooLong + " -x").filePath, "");

  // An expansion that does not fit leaves the variable as it stands.
  machine.environment.variables["FITS"] = fits;
  machine.environment.variables["LONG"] = tooLong;
  EXPECT_EQ(checkPath.GetCommandFilePath("%FITS%"), fits);
  EXPECT_EQ(checkPath.GetCommandFilePath("%LONG%"), "%LONG%");
  // A long name that does not fit keeps the short one.
  machine.files.AddShortName(fits, "FFFFFF~1.EXE");
  const std::string shortPath = folder + "\\FFFFFF~1.EXE";
  EXPECT_EQ(checkPath.SplitCommandLine(shortPath).filePath, fits);
  machine.files.AddShortName(tooLong, "FFFFFF~2.EXE");
  EXPECT_EQ(checkPath.SplitCommandLine(folder + "\\FFFFFF~2.EXE").filePath, folder + "\\FFFFFF~2.EXE");
}

TEST_F(CommandPathTest, FailedSystemCallsLeaveTheTextAsItIs) {
  machine.environment.expansionFails = true;
  EXPECT_EQ(checkPath.GetCommandFilePath("%windir%\\system32\\ctfmon.exe"), "%windir%\\system32\\ctfmon.exe");
}

TEST_F(CommandPathTest, ExtractCommandExeByTextRules) {
  machine.files.AddFile("C:\\Windows\\winlib.dll", "MZ");
  machine.files.AddFile("C:\\lib\\here.dll", "MZ");
  for (const ResolveCase& c : {
           ResolveCase{R"("C:\a b\x.exe" /s)", R"(C:\a b\x.exe)"}, ResolveCase{R"(C:\x.exe;)", R"(C:\x.exe)"},
           ResolveCase{R"(C:\x.exe,1)", R"(C:\x.exe)"}, ResolveCase{R"(C:\x.exe%1)", R"(C:\x.exe)"},
           ResolveCase{R"(%SystemRoot%\system32\x.exe)", R"(C:\Windows\system32\x.exe)"},
           ResolveCase{R"(%WINDIR%\\x.exe)", R"(C:\Windows\x.exe)"},
           ResolveCase{R"(%ProgramFiles%\Maker\x.exe -q)", R"(C:\Program Files (x86)\Maker\x.exe)"},
           ResolveCase{R"(\systemroot\x.sys)", R"(C:\Windows\x.sys)"},
           // A " -" inside the file name before its extension stays; switches go.
           ResolveCase{R"(C:\Prog -x\my-app.exe -startup)", R"(C:\Prog -x\my-app.exe)"},
           ResolveCase{R"(C:\Tools\my -app.exe)", R"(C:\Tools\my -app.exe)"},
           ResolveCase{R"(C:\Tools\run -silent)", R"(C:\Tools\run)"},
           // A quote before the first switch: closing quote or opening one.
           ResolveCase{R"(C:\My Tools\app.exe" -x)", R"(C:\My Tools\app.exe)"},
           ResolveCase{R"(start "C:\a\b.exe" -x)", R"(C:\a\b.exe)"},
           ResolveCase{R"(C:\a\b.exe "arg)", R"(C:\a\b.exe)"},
           ResolveCase{R"(xyC:\a.exe)", R"(C:\a.exe)"}, ResolveCase{R"(:\a.exe)", R"(:\a.exe)"},
           ResolveCase{R"(RUNDLL32.EXE winlib.dll,Entry)", R"(C:\Windows\winlib.dll)"},
           ResolveCase{R"(rundll32.exe C:\lib\here.dll,Entry)", R"(C:\lib\here.dll)"},
           ResolveCase{R"(rundll32.exe nowhere.dll,Entry)", R"(rundll32.exe nowhere.dll)"},
           ResolveCase{"", ""},
       }) {
    EXPECT_EQ(checkPath.ExtractCommandExe(c.commandLine), c.answer) << c.commandLine;
  }
}

}  // namespace
}  // namespace bootmark
