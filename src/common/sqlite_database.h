#pragma once
// A thin owner of one open SQLite 3 database, and the exception every database
// failure raises. The lookup databases are only read: they are opened read-only and
// never created.
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;

namespace bootmark {

class ESQLiteException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSQLiteDatabase {
 public:
  // Opens the file read-only; `fileName` is UTF-8, which SQLite takes on Windows
  // too. Throws ESQLiteException "Failed to open database "<file>" : <why>".
  explicit TSQLiteDatabase(const std::string& fileName);
  // Whether the file exists, asked of SQLite's own file layer (the same path rules
  // the open follows).
  static bool FileExists(const std::string& fileName);
  ~TSQLiteDatabase();
  TSQLiteDatabase(const TSQLiteDatabase&) = delete;
  TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

  sqlite3* Handle() const { return db_; }

  // Throws ESQLiteException: `what` followed by the database's last error in the
  // form ".\rError [<code>]: <code text>.\r"<sql>": <message>", then `extra` on
  // a line of its own when given; `what` alone when the database reports no error.
  [[noreturn]] void RaiseError(std::string_view what, std::string_view sql, std::string_view extra = {}) const;

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace bootmark
