// Shortcut files read by the program's own reader when the shell's link object
// cannot read them: shortcuts saved by the shell's link object under Wine
// (bmprobe new-link, kept as the shortcut fuzz target's seeds), and damaged ones.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fakes/fake_platform.h"
#include "startup/shell_link_file.h"
#include "startup/shortcut_reader.h"

namespace bootmark {
namespace {

std::u16string Latin1(std::string_view bytes) { return std::u16string(bytes.begin(), bytes.end()); }

std::string SavedShortcut(const char* name) {
  std::ifstream file(std::string(BOOTMARK_TESTS_DIR) + "/fuzz/corpus/shell_link/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// new-link C:\Tools\tray.exe "-tray /x \"quoted\"" ... "Tray helper" C:\Tools C:\Tools\tray.exe;
// Wine counts each string's terminating zero in.
constexpr const char* kFull = "full_saved_by_shell.lnk";

TEST(ShellLinkFile, ReadsShortcutsSavedByTheShell) {
  const std::optional<ShellLinkFields> full = ParseShellLinkFile(SavedShortcut(kFull), Latin1);
  ASSERT_TRUE(full.has_value());
  EXPECT_EQ((std::vector<std::string>{full->target, full->arguments, full->description, full->workingFolder,
                                      full->iconLocation}),
            (std::vector<std::string>{"C:\\Tools\\tray.exe", "-tray /x \"quoted\"", "Tray helper", "C:\\Tools",
                                      "C:\\Tools\\tray.exe"}));
  const std::optional<ShellLinkFields> bare = ParseShellLinkFile(SavedShortcut("target_only.lnk"), Latin1);
  ASSERT_TRUE(bare.has_value());
  EXPECT_EQ(bare->target, "C:\\Tools\\tray.exe");
  EXPECT_EQ(bare->arguments + bare->description + bare->workingFolder + bare->iconLocation, "");
}

TEST(ShellLinkFile, DamagedFilesAreFailedReads) {
  const std::string good = SavedShortcut(kFull);
  ASSERT_EQ(good.size(), 433u);
  const auto patched = [&](std::size_t at, std::string_view bytes) { return std::string(good).replace(at, bytes.size(), bytes); };
  for (const std::string& bytes : {std::string(), patched(0, "\x4D"), patched(4, "\x02"), patched(0x4C, "\xFF\xFF"),
                                   patched(0xF3, "\xFF\xFF"), patched(0x103, "\xFF\xFF\xFF\x7F"),
                                   patched(0x132, "x"), std::string(100, 'L')}) {
    EXPECT_FALSE(ParseShellLinkFile(bytes, Latin1).has_value()) << bytes.size();
  }
  // Cut anywhere before the end of its strings (the last 4 bytes are the end of
  // the extra data), the file cannot be read.
  for (std::size_t size = 0; size < good.size() - 4; ++size) {
    EXPECT_FALSE(ParseShellLinkFile(good.substr(0, size), Latin1).has_value()) << size;
  }
}

TEST(ShortcutReader, TheShellObjectFirstThenTheFileItself) {
  testing::FakePlatform fake;
  fake.files.AddFile("C:\\S\\shell.lnk", SavedShortcut(kFull));
  fake.files.AddFile("C:\\S\\own.lnk", SavedShortcut(kFull));
  fake.files.AddFile("C:\\S\\bad.lnk", "L");
  fake.files.AddFile("C:\\S\\big.lnk", SavedShortcut(kFull) + std::string(1 << 20, '\0'));
  fake.shell.linkFields["C:\\S\\shell.lnk"] = {"C:\\PROGRA~1\\x.exe", "", "", "", ""};
  fake.shell.linkFields["C:\\S\\gone.lnk"] = {"C:\\x.exe", "", "", "", ""};
  EXPECT_EQ(ReadShortcut(fake.platform, "C:\\S\\shell.lnk")->target, "C:\\PROGRA~1\\x.exe");
  EXPECT_EQ(ReadShortcut(fake.platform, "C:\\S\\own.lnk")->target, "C:\\Tools\\tray.exe");
  EXPECT_FALSE(ReadShortcut(fake.platform, "C:\\S\\bad.lnk").has_value());
  EXPECT_FALSE(ReadShortcut(fake.platform, "C:\\S\\big.lnk").has_value());  // past 1 MiB: not read
  EXPECT_FALSE(ReadShortcut(fake.platform, "C:\\S\\gone.lnk").has_value());  // no file
}

}  // namespace
}  // namespace bootmark
