#include "common/lookup_databases.h"

#include "base/text.h"
#include "common/sqlite_table.h"

namespace bootmark {

std::string QuoteSqlString(std::string_view text) {
  return "'" + ReplaceAll(text, "'", "''") + "'";
}

TSqliteObj::TSqliteObj(IFileSystem& files, const std::string& fileName) : ansi_(files) {
  if (TSQLiteDatabase::FileExists(fileName)) db_.emplace(fileName);
}

bool TSqliteObj::TableExists(std::string_view table) {
  if (!db_) return false;
  std::string sql = "SELECT count (*) FROM sqlite_master WHERE type='table' AND name='";
  sql.append(table).append("'");
  TSQLiteTable result(*db_, ansi_.Encode(sql));
  return !result.Eof() && result.FieldAsInteger(0) >= 1;
}

bool TSqliteObj::HasRows(std::string_view sql) {
  if (!db_) return false;
  TSQLiteTable result(*db_, ansi_.Encode(sql));
  return result.RowCount() > 0;
}

bool TSqliteObj::KeyListed(std::string_view table, std::string_view column, std::string_view literal) {
  if (!TableExists(table)) return false;
  std::string sql = "select * from ";
  sql.append(table).append(" where ").append(column).append("=").append(literal);
  return HasRows(sql);
}

bool TSqliteObj::IsInWhiteList(std::string_view md5) {
  return KeyListed("whiteList", "MD5", "'" + UpperCaseOrdinal(md5) + "'");
}

bool TSqliteObj::IsInBlackList(std::string_view md5) {
  return KeyListed("blackList", "MD5", "'" + UpperCaseOrdinal(md5) + "'");
}

bool TSqliteObj::IsInSignatureList(std::string_view signer) {
  return KeyListed("signatureList", "signature", QuoteSqlString(signer));
}

DisableRateRow TSqliteObj::GetDisableRate(std::string_view key) {
  DisableRateRow row;
  if (!TableExists("disableRate")) return row;
  std::string sql = "select * from disableRate where MD5='";
  sql.append(key).append("'");
  TSQLiteTable result(*db_, ansi_.Encode(sql));
  if (result.Eof()) return row;
  // By position: key, rate, recommendation; further columns are ignored.
  if (result.ColCount() >= 2) row.rate = result.FieldAsString(1);
  if (result.ColCount() >= 3) row.recommendation = StrToIntDef(result.FieldAsString(2), -1);
  return row;
}

}  // namespace bootmark
