// Lookup databases and file signers on a real system: SQLite files at Windows paths
// with non-ASCII characters, statements in the ANSI code page, the signer of a file
// signed with an untrusted certificate and files crypt32 finds no embedded signature
// in. (What the lists answer is tested natively; signed programs and publishers are
// screened end to end.)
#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include "common/file_signer.h"
#include "common/lookup_databases.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_signer.h"
#include "platform/win32/win32_file_system.h"
#include "scratch_folder.h"

namespace bootmark::win32 {
namespace {

std::string EnvironmentText(const char* name) { return Win32Environment().GetVariable(name).value_or(""); }

std::string ToAnsi(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
  return bytes;
}

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
  EXPECT_EQ(encoder.Encode("soci\xC3\xA9t\xC3\xA9 O'Brien"), ToAnsi(L"soci\u00E9t\u00E9 O'Brien"));
  EXPECT_EQ(encoder.Encode("plain"), "plain");
}

// test_ports.py signs a copy of Bootmark.exe with a certificate of its own (so its
// chain is not trusted) and names the copy and its signer in the environment.
TEST(Win32FileSigner, EmbeddedSignatureGivesItsSignerEvenUntrusted) {
  const std::string signedFile = EnvironmentText("BMPORT_SIGNED_FILE");
  ASSERT_FALSE(signedFile.empty()) << "run by test_ports.py, which signs the file";
  Win32FileSigner signer;
  EXPECT_EQ(GetFileSigner(signer, signedFile), EnvironmentText("BMPORT_SIGNER_NAME"));
  testing::ScratchFolder scratch;
  testing::WriteFileBytes(scratch / "text.exe", "not a program");
  const std::string own = Win32Environment().ExecutablePath();
  for (const std::string& path : {own, scratch / "text.exe", scratch / "missing.exe"}) {
    EXPECT_EQ(GetFileSigner(signer, path), "") << path;
  }
}

}  // namespace
}  // namespace bootmark::win32
