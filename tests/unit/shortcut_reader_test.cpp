// Shortcut files read by the program's own reader when the shell's link object
// cannot read them: shortcuts saved by the shell's link object, and damaged ones.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "startup/shell_link_file.h"
#include "startup/shortcut_reader.h"
#include "unit/shortcut_files.h"

namespace bootmark {
namespace {

std::u16string Latin1(std::string_view bytes) { return std::u16string(bytes.begin(), bytes.end()); }

TEST(ShellLinkFile, ReadsShortcutsSavedByTheShell) {
  for (const auto& saved : testing::kSavedShortcuts) {
    SCOPED_TRACE(saved.name);
    const std::optional<ShellLinkFields> fields = ParseShellLinkFile(saved.Bytes(), Latin1);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->target, saved.target);
    EXPECT_EQ(fields->arguments, saved.arguments);
    EXPECT_EQ(fields->description, saved.description);
    EXPECT_EQ(fields->workingFolder, saved.workingFolder);
    EXPECT_EQ(fields->iconLocation, saved.iconLocation);
  }
}

TEST(ShellLinkFile, DamagedFilesAreFailedReads) {
  const std::string good(testing::kSavedShortcuts[0].Bytes());
  const auto patched = [&](std::size_t at, std::string_view bytes) {
    std::string copy = good;
    copy.replace(at, bytes.size(), bytes);
    return copy;
  };
  const struct {
    const char* name;
    std::string bytes;
  } kCases[] = {
      {"empty", ""},
      {"header size", patched(0, "\x4D")},
      {"class id", patched(4, "\x02")},
      {"item list beyond the end", patched(0x4C, "\xFF\xFF")},
      {"not a shortcut", "this is not a shell link at all, only text of some length......................"},
  };
  for (const auto& c : kCases) EXPECT_FALSE(ParseShellLinkFile(c.bytes, Latin1).has_value()) << c.name;
  // Cut anywhere inside its strings, the file cannot be read; every cut is read
  // within its bytes (the fuzz target checks that under the sanitizers).
  const std::size_t stringsEnd = good.size() - testing::kSavedShortcuts[0].extraBytes;
  for (std::size_t size = 0; size < stringsEnd; ++size) {
    EXPECT_FALSE(ParseShellLinkFile(good.substr(0, size), Latin1).has_value()) << size;
  }
}

TEST(ShortcutReader, TheShellObjectFirstThenTheFileItself) {
  testing::FakePlatform fake;
  const std::string bytes(testing::kSavedShortcuts[0].Bytes());
  fake.files.AddFile("C:\\S\\shell.lnk", bytes);
  fake.files.AddFile("C:\\S\\own.lnk", bytes);
  fake.files.AddFile("C:\\S\\bad.lnk", "L");
  fake.shell.linkFields["C:\\S\\shell.lnk"] = {"C:\\PROGRA~1\\x.exe", "", "", "", ""};
  fake.shell.linkFields["C:\\S\\gone.lnk"] = {"C:\\x.exe", "", "", "", ""};
  EXPECT_EQ(ReadShortcut(fake.platform, "C:\\S\\shell.lnk")->target, "C:\\PROGRA~1\\x.exe");
  EXPECT_EQ(ReadShortcut(fake.platform, "C:\\S\\own.lnk")->target, testing::kSavedShortcuts[0].target);
  EXPECT_FALSE(ReadShortcut(fake.platform, "C:\\S\\bad.lnk").has_value());
  EXPECT_FALSE(ReadShortcut(fake.platform, "C:\\S\\gone.lnk").has_value());  // no file
}

}  // namespace
}  // namespace bootmark
