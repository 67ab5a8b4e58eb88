#pragma once
// TSQLiteTable: the whole result of one SELECT statement, held in memory, with a
// current row and typed reads of its cells.
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
  int ColCount() const { return static_cast<int>(columns_.size()); }
  const std::vector<std::string>& Columns() const { return columns_; }
  SQLiteColumnType ColumnType(int column) const;

  // The current row starts at the first; Eof once it is past the last.
  bool Eof() const { return row_ >= rowCount_; }
  void Next();
  void MoveFirst() { row_ = 0; }

  // Reads of the current row. At the end of the rows they throw "Table is at End
  // of File"; a column index out of range throws too.
  bool FieldIsNull(int column) const;
  // A null cell gives ""; numbers give their decimal text.
  std::string FieldAsString(int column) const;
  // A null cell gives 0; floating-point cells are truncated; text and raw bytes
  // throw "Not an integer or numeric field".
  std::int64_t FieldAsInteger(int column) const;
  // A null cell gives 0; text and raw bytes throw "Not an integer or numeric field".
  double FieldAsDouble(int column) const;
  // The cell's bytes (numbers as their text); a null cell gives "".
  std::string FieldAsBlob(int column) const;

 private:
  using Cell = std::variant<std::monostate, std::int64_t, double, std::string>;

  const Cell& CurrentCell(int column) const;

  std::vector<std::string> columns_;
  std::vector<SQLiteColumnType> types_;
  std::vector<Cell> cells_;  // row by row
  std::size_t rowCount_ = 0;
  std::size_t row_ = 0;
};

}  // namespace bootmark
