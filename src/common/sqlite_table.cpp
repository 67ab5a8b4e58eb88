#include "common/sqlite_table.h"

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <memory>

#include "base/text.h"

namespace bootmark {
namespace {

struct StatementDeleter {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using UniqueStatement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

SQLiteColumnType ColumnTypeOfStorage(int storageClass) {
  switch (storageClass) {
    case SQLITE_INTEGER:
      return SQLiteColumnType::Integer;
    case SQLITE_FLOAT:
      return SQLiteColumnType::Float;
    case SQLITE_BLOB:
      return SQLiteColumnType::Blob;
    default:
      return SQLiteColumnType::Text;
  }
}

std::string Bytes(const void* data, int size) {
  if (data == nullptr || size <= 0) return {};
  return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

}  // namespace

SQLiteColumnType ColumnTypeOfDeclaration(std::string_view declaredType) {
  for (std::string_view name : {"INTEGER", "BOOLEAN"}) {
    if (SameText(declaredType, name)) return SQLiteColumnType::Integer;
  }
  for (std::string_view name : {"NUMERIC", "FLOAT", "DOUBLE", "REAL"}) {
    if (SameText(declaredType, name)) return SQLiteColumnType::Float;
  }
  if (SameText(declaredType, "BLOB")) return SQLiteColumnType::Blob;
  return SQLiteColumnType::Text;
}

TSQLiteTable::TSQLiteTable(const TSQLiteDatabase& db, std::string_view sql) {
  sqlite3_stmt* raw = nullptr;
  // An empty statement still needs a valid pointer for SQLite.
  if (sqlite3_prepare_v2(db.Handle(), sql.empty() ? "" : sql.data(), static_cast<int>(sql.size()), &raw,
                         nullptr) != SQLITE_OK) {
    sqlite3_finalize(raw);
    db.RaiseError("Could not prepare SQL statement", sql);
  }
  UniqueStatement statement(raw);
  if (!statement) return;  // only blanks or comments: no columns, no rows

  const int columnCount = sqlite3_column_count(statement.get());
  std::vector<bool> undeclared(static_cast<std::size_t>(columnCount), false);
  columnCount_ = static_cast<std::size_t>(columnCount);
  for (int column = 0; column < columnCount; ++column) {
    const char* declared = sqlite3_column_decltype(statement.get(), column);
    undeclared[static_cast<std::size_t>(column)] = declared == nullptr;
    types_.push_back(declared != nullptr ? ColumnTypeOfDeclaration(declared) : SQLiteColumnType::Text);
  }

  for (;;) {
    const int result = sqlite3_step(statement.get());
    if (result == SQLITE_DONE) break;
    if (result != SQLITE_ROW) {
      db.RaiseError("Could not retrieve data", sql, result == SQLITE_BUSY ? "SQLite is Busy" : "");
    }
    // Only the first row's cells are kept; the others are counted.
    for (int column = 0; rowCount_ == 0 && column < columnCount; ++column) {
      sqlite3_stmt* s = statement.get();
      const int storage = sqlite3_column_type(s, column);
      const auto index = static_cast<std::size_t>(column);
      if (undeclared[index]) types_[index] = ColumnTypeOfStorage(storage);
      if (storage == SQLITE_NULL) {
        cells_.emplace_back(std::monostate{});
        continue;
      }
      switch (types_[index]) {
        case SQLiteColumnType::Integer:
          cells_.emplace_back(static_cast<std::int64_t>(sqlite3_column_int64(s, column)));
          break;
        case SQLiteColumnType::Float:
          cells_.emplace_back(sqlite3_column_double(s, column));
          break;
        case SQLiteColumnType::Blob: {
          const void* data = sqlite3_column_blob(s, column);
          cells_.emplace_back(Bytes(data, sqlite3_column_bytes(s, column)));
          break;
        }
        case SQLiteColumnType::Text: {
          const unsigned char* text = sqlite3_column_text(s, column);
          cells_.emplace_back(Bytes(text, sqlite3_column_bytes(s, column)));
          break;
        }
      }
    }
    ++rowCount_;
  }
}

const TSQLiteTable::Cell& TSQLiteTable::CurrentCell(int column) const {
  if (Eof()) throw ESQLiteException("Table is at End of File");
  if (column < 0 || column >= ColCount()) throw ESQLiteException("Column index out of range");
  return cells_[static_cast<std::size_t>(column)];
}

std::string TSQLiteTable::FieldAsString(int column) const {
  const Cell& cell = CurrentCell(column);
  if (const auto* number = std::get_if<std::int64_t>(&cell)) return IntToStr(*number);
  if (const auto* number = std::get_if<double>(&cell)) return FloatToStr(*number);
  if (const auto* text = std::get_if<std::string>(&cell)) return *text;
  return {};
}

std::int64_t TSQLiteTable::FieldAsInteger(int column) const {
  const Cell& cell = CurrentCell(column);
  if (const auto* number = std::get_if<std::int64_t>(&cell)) return *number;
  if (const auto* number = std::get_if<double>(&cell)) {
    // Truncated towards zero, held inside the 64-bit range; not-a-number gives 0.
    constexpr double kLimit = 9223372036854775807.0;
    if (std::isnan(*number)) return 0;
    if (*number >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (*number <= -kLimit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(*number);
  }
  if (std::holds_alternative<std::monostate>(cell)) return 0;
  throw ESQLiteException("Not an integer or numeric field");
}

}  // namespace bootmark
