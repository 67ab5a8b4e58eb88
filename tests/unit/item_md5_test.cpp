// The white-list key of an item: MD5 itself, the name rules and the hashed text.
#include "startup/item_md5.h"

#include <gtest/gtest.h>

#include "base/md5.h"
#include "fakes/fake_file_system.h"

namespace bootmark {
namespace {

// Digests computed independently (Python's hashlib), at the 56- and 64-byte
// padding boundaries; 64 bytes take a second block.
TEST(Md5, MatchesIndependentDigests) {
  const struct {
    std::string input;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {std::string(55, 'x'), "04364420e25c512fd958a70738aa8f72"},
      {std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
      {std::string(64, 'x'), "c1bb4f81d892b2d57947682aeb252456"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input.size());
    EXPECT_EQ(Md5Hex(c.input), c.digest);
  }
}

TEST(NormalizeItemName, AppliesTheFirstMatchingRule) {
  const struct {
    const char* name;
    const char* exe;
    const char* company;
    const char* result;
  } cases[] = {
      // Versions in parentheses are cut off.
      {"  my DRIVELIO helper (v2) extra", "a", "b", "my DRIVELIO helper"},
      {"Drivelio 8.1)", "a", "b", "Drivelio 8.1)"},
      {"Drivelio (8.1", "a", "b", "Drivelio (8.1"},
      {"x_spacio_skipuac_y", "a", "b", "Spacio_SkipUac"},
      {"Tunevane Optimizer (3.0)", "a", "b", "Tunevane Optimizer"},
      {"Tunevane (3.0)", "a", "b", "Tunevane (3.0)"},
      // Known names when program and publisher fit, whatever the case.
      {"GoogleUpdateTaskMachineUA", "googleupdate.EXE", "GOOGLE INC.", "GoogleUpdate"},
      {"GoogleUpdateTaskMachineUA", "GoogleUpdate.exe", "Google LLC", "GoogleUpdateTaskMachineUA"},
      {"xGoogleUpdate", "GoogleUpdate.exe", "Google Inc.", "xGoogleUpdate"},
      {"Uninstaller_SkipUac_Ann", "KST.exe", "Tarvo Ltd", "Uninstaller_SkipUac_Ann"},
      // Both shutdown programs: the rule of the other program does not stop the search.
      {"Tarvo_AutoShutdown_1", "shutdown.exe", "Microsoft Corporation", "Tarvo_AutoShutdown"},
      {"Tarvo_AutoShutdown_1", "Lumo10_AutoShutdown.exe", "tarvo", "Tarvo_AutoShutdown"},
      {"Tarvo_AutoShutdown_1", "Lumo10_AutoShutdown.exe", "Microsoft Corporation", "Tarvo_AutoShutdown_1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NormalizeItemName(c.name, c.exe, c.company), c.result);
  }
}

TEST(GetItemMD5, HashesTheUpperCasedKeyInTheAnsiCodePage) {
  FakeFileSystem files;
  AnsiEncoder ansi(files);
  const struct {
    const char* name;
    const char* exe;
    const char* company;
    int kind;
    const char* digest;  // hashlib.md5(key.encode("cp1252"))
  } cases[] = {
      // UPDATERUPD.EXEEXAMPLE CORP1
      {"Updater", "upd.exe", "Example Corp", 1, "253d323cd52b9e9c0cfbb0c2b5a13126"},
      {" updater ", " UPD.exe ", "example corp ", 1, "253d323cd52b9e9c0cfbb0c2b5a13126"},
      // DRIVELIODRIVELIO.EXEDRIVELIO LTD1, from any version of the item
      {"Drivelio (8.1)", "drivelio.exe", "Drivelio Ltd", 1, "067e463292b2834e1e3370e3428feae9"},
      // ÄPFEL0, with Ä as the byte C4 of code page 1252
      {"äpf", "e", "l", 0, "07943d9d850f3efa62db134b812d1851"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetItemMD5(ansi, c.name, c.exe, c.company, c.kind), c.digest);
  }
  EXPECT_NE(GetItemMD5(ansi, "Updater", "upd.exe", "Example Corp", 2),
            GetItemMD5(ansi, "Updater", "upd.exe", "Example Corp", 1));
}

}  // namespace
}  // namespace bootmark
