#include "common/sqlite_database.h"

#include <sqlite3.h>

namespace bootmark {

TSQLiteDatabase::TSQLiteDatabase(const std::string& fileName) {
  sqlite3* db = nullptr;
  const int result = sqlite3_open_v2(fileName.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (result == SQLITE_OK) {
    db_ = db;
    return;
  }
  std::string message = "Failed to open database \"" + fileName + "\" : ";
  if (db != nullptr) {
    message += sqlite3_errmsg(db);
    sqlite3_close(db);
  } else {
    message += "unknown error";
  }
  throw ESQLiteException(message);
}

bool TSQLiteDatabase::FileExists(const std::string& fileName) {
  sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
  int exists = 0;
  return vfs != nullptr && vfs->xAccess(vfs, fileName.c_str(), SQLITE_ACCESS_EXISTS, &exists) == SQLITE_OK &&
         exists != 0;
}

TSQLiteDatabase::~TSQLiteDatabase() { sqlite3_close(db_); }

void TSQLiteDatabase::RaiseError(std::string_view what, std::string_view sql, std::string_view extra) const {
  std::string message(what);
  const int code = sqlite3_errcode(db_);
  if (code != SQLITE_OK) {
    message += ".\rError [" + std::to_string(code) + "]: " + sqlite3_errstr(code) + ".\r\"";
    message.append(sql);
    message += "\": ";
    message += sqlite3_errmsg(db_);
  }
  if (!extra.empty()) message.append("\r").append(extra);
  throw ESQLiteException(message);
}

}  // namespace bootmark
