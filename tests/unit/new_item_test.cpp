// The new-item record of an /AddAutoRun start: argument decoding, the kind, the
// program of a command text, shortcuts and the record of every kind.
#include <gtest/gtest.h>

#include <tuple>

#include "alert/item_arguments.h"
#include "alert/item_exe_path.h"
#include "alert/new_item_builder.h"
#include "alert/queued_item.h"
#include "alert/shortcut.h"
#include "fakes/fake_platform.h"
#include "fakes/task_xml_files.h"
#include "new_item_test_support.h"

namespace bootmark {
namespace {

using namespace std::string_literals;
using testing::AddAutoRunArguments;
using testing::EncodeItemArgument;
using testing::FakePlatform;

TEST(DecodeItemArgument, ReadsFourDigitsPerUnitLowByteFirst) {
  const struct {
    const char* argument;
    std::string text;
  } cases[] = {
      {"/4100420", "A"},                  // three digits left over are ignored
      {"/6100e9001a20", "a\xC3\xA9\xE2\x80\x9A"},  // lower-case digits, units beyond ASCII
      {"/4100X2004300", "A\0\0"s},         // stops at a non-digit; the rest stays zero
      {"/41004G00", "\x41\0"s},            // the byte before the bad pair is kept
      {"", ""},
      {"x/4100", "A"},                     // only the text after the first slash counts
      {"4100", "A"},                       // no slash: the whole argument
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(DecodeItemArgument(c.argument), c.text);
  }
}

TEST(ParseItemKind, ReadsTheNumberAfterTheSlash) {
  const struct {
    const char* argument;
    int kind;
  } cases[] = {{"/3", 3}, {"/ 4 ", 4}, {"/abc", 1}, {"/", 1}, {"", 1}, {"/2x", 1}, {"/$10", 16}, {"/-2", -2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(ParseItemKind(c.argument), c.kind);
  }
}

class ItemExePathTest : public ::testing::Test {
 protected:
  ItemExePathTest() {
    machine.environment.variables = {{"windir", "C:\\Windows"},
                                     {"ProgramFiles", "C:\\Program Files (x86)"},
                                     {"Path", "C:\\Windows\\system32;C:\\Windows"},
                                     {"PATHEXT", ".COM;.EXE;.BAT"}};
    for (const char* file : {"C:\\Windows\\system32\\ctfmon.exe", "C:\\Windows\\script.bat",
                             "C:\\Program Files\\App\\app.exe", "C:\\Tools\\agent.exe"}) {
      machine.files.AddFile(file, "MZ");
    }
    machine.files.AddShortName("C:\\Program Files", "PROGRA~1");
  }

  FakePlatform machine;
  TCheckPath checkPath{machine.platform};
};

// The program of a command text as the alert names it; where the general resolver
// (TCheckPath::GetCommandFilePath) answers otherwise, its rules are not applied here.
TEST_F(ItemExePathTest, TakesTheCommandTextAsItStands) {
  const std::pair<const char*, const char*> cases[] = {
      {R"(  "C:\Program Files\App\app.exe" /min  )", R"(C:\Program Files\App\app.exe)"},
      {R"(C:\Program Files\App\app.exe /min)", R"(C:\Program Files\App\app.exe)"},
      {R"(C:\PROGRA~1\App\app.exe -x)", R"(C:\Program Files\App\app.exe)"},
      // Found on the search path though the text does not name the folder.
      {"ctfmon.exe /auto", R"(C:\Windows\system32\ctfmon.exe)"},
      // Variables are left to the text rules, which expand only the folder ones.
      {R"(%windir%\system32\ctfmon.exe)", R"(C:\Windows\system32\ctfmon.exe)"},
      // Doubled quotes stay: the quoted path is empty (the general resolver finds agent.exe).
      {R"(""C:\Tools\agent.exe"")", ""},
      // No PATHEXT search at the end (the general resolver finds script.BAT).
      {"script arg", "script arg"},
      {R"(\??\C:\Tools\agent.exe)", R"(C:\Tools\agent.exe)"},
      {R"(C:\Missing\gone.exe -s)", R"(C:\Missing\gone.exe)"},
  };
  for (const auto& [commandLine, itemExePath] : cases) {
    EXPECT_EQ(GetItemExePath(checkPath, commandLine), itemExePath) << commandLine;
  }
}

TEST(ResolveShortcut, ExpandsTheTargetAndDropsAnX86FolderThatIsNotThere) {
  FakePlatform machine;
  machine.environment.variables = {{"ProgramFiles", "C:\\Program Files"}};
  machine.files.AddFile("C:\\Program Files\\App\\app.exe", "MZ");
  machine.files.AddFile("C:\\Program Files (x86)\\Both\\both.exe", "MZ");
  // Arguments are read as stored; a row without a stored target has no readable shortcut.
  const struct {
    const char* link;
    const char* stored;
    const char* target;
    const char* arguments;
  } cases[] = {
      {"C:\\l\\expanded.lnk", "%ProgramFiles%\\App\\app.exe", "C:\\Program Files\\App\\app.exe", "-tray"},
      {"C:\\l\\x86.lnk", "C:\\Program Files (X86)\\App\\app.exe", "C:\\Program Files\\App\\app.exe", ""},
      {"C:\\l\\both.lnk", "C:\\Program Files (x86)\\Both\\both.exe", "C:\\Program Files (x86)\\Both\\both.exe",
       "/a /b"},
      {"C:\\l\\missing.lnk", "C:\\Gone (x86) (x86)\\g.exe", "C:\\Gone (x86)\\g.exe", ""},
      {"C:\\l\\unknown.lnk", "%NoSuchVariable%\\u.exe", "%NoSuchVariable%\\u.exe", ""},
      {"C:\\l\\unreadable.lnk", nullptr, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    if (c.stored != nullptr) machine.shell.links[c.link] = {c.stored, c.arguments};
    std::string target = "old", arguments = "old";
    EXPECT_EQ(ResolveShortcut(machine.platform, c.link, target, arguments), c.stored != nullptr);
    EXPECT_EQ(target, c.target);
    EXPECT_EQ(arguments, c.arguments);
  }
}

// Every field of a record, so that a mismatch prints them all.
auto Fields(const NewStartupItem& i) {
  return std::tie(i.FNewItemType, i.FNewItemName, i.FNewItemExePath, i.FNewItemRegPath, i.FNewItemSrcDisplayName,
                  i.FNewItemLinkPath, i.FNewItemOperatePID, i.FNewItemOperateName);
}

class NewItemRecordTest : public ::testing::Test {
 protected:
  NewItemRecordTest() {
    testing::TaskXml task;
    task.triggers = testing::kLogonTrigger;
    task.actions = "<Exec><Command>\"C:\\Tools\\agent.exe\"</Command><Arguments>-s</Arguments></Exec>";
    testing::AddTask(machine.files, "\\Vendor\\AgentTask", task);
    machine.shell.links = {{"C:\\Startup\\Tray.lnk", {"C:\\Tools\\tray.exe", "/min"}}};
  }

  NewStartupItem Build(const ProgramArguments& arguments) {
    TaskReader tasks(machine.platform, nullptr);
    return BuildNewStartupItem(machine.platform, tasks, arguments);
  }

  FakePlatform machine;
};

TEST_F(NewItemRecordTest, MapsTheArgumentsOfEachKind) {
  const struct {
    const char* name;
    ProgramArguments arguments;
    NewStartupItem item;
  } cases[] = {
      {"registry value with its creator",
       AddAutoRunArguments(1, {"HKLM\\Run\\Updater", "C:\\Tools\\upd.exe -q", "HKLM\\Run\\", "4242",
                               "C:\\Setup\\setup.exe"}),
       {1, "Updater", "C:\\Tools\\upd.exe -q", "HKLM\\Run\\Updater", "", "", "4242", "C:\\Setup\\setup.exe"}},
      {"registry value with an empty creator argument",
       ProgramArguments({"B.exe", "/AddAutoRun", "/1", EncodeItemArgument("U"), "/", "/", "/"}),
       {1, "U", "", "U", "", "", "", ""}},
      {"service",
       AddAutoRunArguments(2, {"AgentSvc", "\"C:\\Tools\\agent.exe\" -service", "Agent Service", "1", "x"}),
       {2, "AgentSvc", "\"C:\\Tools\\agent.exe\" -service", "", "Agent Service", "", "", ""}},
      {"scheduled task",
       AddAutoRunArguments(3, {"C:\\Windows\\System32\\Tasks\\Vendor\\AgentTask", "ignored"}),
       {3, "AgentTask", "\"C:\\Tools\\agent.exe\"", "", "", "", "", ""}},
      {"scheduled task that is gone", AddAutoRunArguments(3, {"C:\\Windows\\System32\\Tasks\\Gone"}),
       {3, "Gone", "", "", "", "", "", ""}},
      {"shortcut with its creator",
       AddAutoRunArguments(4, {"C:\\Startup\\Tray.lnk", "77", "C:\\Setup\\inst.exe"}),
       {4, "Tray.lnk", "\"C:\\Tools\\tray.exe\" /min", "", "", "C:\\Startup\\Tray.lnk", "77", "C:\\Setup\\inst.exe"}},
      {"unreadable shortcut", AddAutoRunArguments(4, {"C:\\Startup\\Bad.lnk"}),
       {4, "Bad.lnk", "\"\" ", "", "", "C:\\Startup\\Bad.lnk", "", ""}},
      {"kind that is not a number",
       ProgramArguments({"B.exe", "/AddAutoRun", "/abc", EncodeItemArgument("D:name"), EncodeItemArgument("x.exe")}),
       {1, "name", "x.exe", "name", "", "", "", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Fields(Build(c.arguments)), Fields(c.item));
  }
}

// The text a later start forwards to the open alert: the fields of the kind (mapped
// as above), with blanks around them and fields that were not sent.
TEST_F(NewItemRecordTest, QueuedTextGivesTheFieldsOfEachKind) {
  const std::string name = EncodeItemArgument("C:\\x\\Tool"), exe = EncodeItemArgument("C:\\t.exe");
  const std::pair<std::string, NewStartupItem> cases[] = {
      {"/1 " + name + " " + exe + EncodeItemArgument("HKLM\\Run\\") + EncodeItemArgument("42") +
           EncodeItemArgument("C:\\s.exe"),
       {1, "Tool", "C:\\t.exe", "HKLM\\Run\\Tool", "", "", "42", "C:\\s.exe"}},
      {"  / 7 /  " + name.substr(1) + "  /  " + exe.substr(1) + " ", {7, "Tool", "C:\\t.exe", "", "", "", "", ""}},
      {"/x " + name + " " + exe + "/", {1, "Tool", "C:\\t.exe", "Tool", "", "", "", ""}},
      {"", {1, "", "", "", "", "", "", ""}},
  };
  for (const auto& [text, item] : cases) EXPECT_EQ(Fields(Build(QueuedItemArguments(text))), Fields(item)) << text;
}

}  // namespace
}  // namespace bootmark
