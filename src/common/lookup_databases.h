#pragma once
// The suite's read-only lookup lists: SQLite databases in the "Database" folder
// of the program's folder, and the database object every look-up goes through.
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "common/ansi_encoder.h"
#include "common/sqlite_database.h"
#include "platform/file_system.h"

namespace bootmark {

// Relative to ProgramDir.
inline constexpr std::string_view kStartupWhiteDb = "Database\\startupWhite.db";
inline constexpr std::string_view kStartupSignatureDb = "Database\\startupSignature.db";
inline constexpr std::string_view kStartupBlackDb = "Database\\startupBlack.db";
inline constexpr std::string_view kStartupDRateDb = "Database\\StartupDRate.db";

// One row of `disableRate`: the rate text and the recommendation.
struct DisableRateRow {
  std::string rate;
  int recommendation = -1;
  friend bool operator==(const DisableRateRow&, const DisableRateRow&) = default;
};

// SQL string literal: the text in single quotes, each quote inside doubled.
std::string QuoteSqlString(std::string_view text);

// One open lookup database. Look-ups in a missing file or of a table the file
// lacks answer "not found" without a query; errors of the database itself (a damaged file, a
// locked one) raise ESQLiteException for the caller to handle.
class TSqliteObj {
 public:
  // Opens `fileName` (UTF-8) read-only when it exists; a missing file stays missing.
  // `files` gives the ANSI code page the statements are written in.
  TSqliteObj(IFileSystem& files, const std::string& fileName);

  // Held by callers that share the object between threads; the look-ups below
  // do not take it.
  std::mutex& Lock() { return lock_; }

  bool TableExists(std::string_view table);
  // True when the statement returns at least one row.
  bool HasRows(std::string_view sql);

  // `md5` is upper-cased for the query.
  bool IsInWhiteList(std::string_view md5);
  bool IsInBlackList(std::string_view md5);
  // `signer` as the caller passes it (lower-cased, trimmed).
  bool IsInSignatureList(std::string_view signer);
  // The first row for `key` (passed unchanged); {"", -1} when there is none.
  DisableRateRow GetDisableRate(std::string_view key);

 private:
  bool KeyListed(std::string_view table, std::string_view column, std::string_view literal);

  AnsiEncoder ansi_;
  std::optional<TSQLiteDatabase> db_;  // none when the file is missing
  std::mutex lock_;
};

}  // namespace bootmark
