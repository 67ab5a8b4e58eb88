// Lookup databases on a real system: SQLite files at Windows paths with non-ASCII
// characters, statements in the ANSI code page. (What the lists answer is tested
// natively; signed programs, unsigned ones and publishers are screened end to end.)
#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include "common/lookup_databases.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "scratch_folder.h"

namespace bootmark::win32 {
namespace {

TEST(Win32LookupDatabases, DatabaseAtANonAsciiWindowsPath) {
  testing::ScratchFolder scratch;
  const std::string folder = scratch / "Donn\xC3\xA9" "es \xE6\x95\xB0\xE6\x8D\xAE";
  ASSERT_TRUE(::CreateDirectoryW(Wide(folder).c_str(), nullptr));
  const std::string file = folder + "\\startupWhite.db";
  Win32FileSystem files;
  EXPECT_FALSE(TSqliteObj(files, file).IsInWhiteList("0123456789abcdef0123456789abcdef"));
  EXPECT_EQ(::GetFileAttributesW(Wide(file).c_str()), INVALID_FILE_ATTRIBUTES);  // only read, never made
  {
    sqlite3* made = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &made), SQLITE_OK);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(made, sqlite3_close);
    ASSERT_EQ(sqlite3_exec(made,
                           "create table whiteList (MD5 TEXT);"
                           "insert into whiteList values ('0123456789ABCDEF0123456789ABCDEF');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  EXPECT_TRUE(TSqliteObj(files, file).IsInWhiteList("0123456789abcdef0123456789abcdef"));
}

TEST(Win32LookupDatabases, StatementsUseTheAnsiCodePage) {
  Win32FileSystem files;
  AnsiEncoder encoder(files);
  // The test prefix's ANSI code page is Western European (1252).
  EXPECT_EQ(encoder.Encode("soci\xC3\xA9t\xC3\xA9 O'Brien"), "soci\xE9t\xE9 O'Brien");
}

}  // namespace
}  // namespace bootmark::win32
