#pragma once
// TSQLiteTable: the result of one SELECT statement, its rows counted and the
// cells of its first row held in memory for typed reads.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/sqlite_database.h"

namespace bootmark {

// How a column's cells are kept and read, from the column's declared type:
// "INTEGER" and "BOOLEAN" are integers; "NUMERIC", "FLOAT", "DOUBLE" and "REAL"
// floating point; "BLOB" raw bytes; every other declared type text. A column
// without a declared type (an expression such as "count (*)") takes the storage
// class of its cell in the first row.
enum class SQLiteColumnType { Integer, Float, Text, Blob };

SQLiteColumnType ColumnTypeOfDeclaration(std::string_view declaredType);

class TSQLiteTable {
 public:
  // Prepares `sql` (the bytes exactly as SQLite is to read them), steps through
  // every row and keeps every cell, and finalises the statement. Throws
  // ESQLiteException "Could not prepare SQL statement..." or "Could not retrieve
  // data..." (TSQLiteDatabase::RaiseError).
  TSQLiteTable(const TSQLiteDatabase& db, std::string_view sql);

  int RowCount() const { return static_cast<int>(rowCount_); }
  int ColCount() const { return static_cast<int>(columnCount_); }
  // True when the statement gave no row.
  bool Eof() const { return rowCount_ == 0; }

  // Reads of the first row. Without rows they throw "Table is at End of File"; a
  // column index out of range throws too.
  // A null cell gives ""; numbers give their decimal text; raw bytes as they are.
  std::string FieldAsString(int column) const;
  // A null cell gives 0; floating-point cells are truncated; text and raw bytes
  // throw "Not an integer or numeric field".
  std::int64_t FieldAsInteger(int column) const;

 private:
  using Cell = std::variant<std::monostate, std::int64_t, double, std::string>;

  const Cell& CurrentCell(int column) const;

  std::size_t columnCount_ = 0;
  std::vector<SQLiteColumnType> types_;
  std::vector<Cell> cells_;  // of the first row
  std::size_t rowCount_ = 0;
};

}  // namespace bootmark
