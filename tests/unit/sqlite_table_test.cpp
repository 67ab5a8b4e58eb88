#include "common/sqlite_table.h"

#include <gtest/gtest.h>

#include <optional>

#include "sqlite_test_files.h"

namespace bootmark {
namespace {

using testing::RunSql;
using testing::ScratchFolder;

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ESQLiteException& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(SQLiteTable, CellsOfTheFirstRowReadByTheColumnsDeclaredType) {
  ScratchFolder folder;
  const std::string file = folder.File("types.db");
  RunSql(file,
         "create table t (i INTEGER, b boolean, n NUMERIC, f FLOAT, d DOUBLE, r REAL, x BLOB, s TEXT,"
         " v VARCHAR(10), w INT, z INTEGER);"
         "insert into t values (42, 1, '2.75', -1.5, 1e3, 7, x'00FF41', 'abc', '12', '34', null);"
         "insert into t values (1, 1, 1, 1, 1, 1, x'00', 'second', '1', '1', 1);");
  TSQLiteDatabase db(file);
  TSQLiteTable table(db, "select * from t");
  ASSERT_EQ(table.RowCount(), 2);
  ASSERT_EQ(table.ColCount(), 11);
  // Each column's text and integer (nullopt: an integer read throws).
  const std::pair<std::string, std::optional<std::int64_t>> cases[] = {
      {"42", 42}, {"1", 1}, {"2.75", 2}, {"-1.5", -1}, {"1000", 1000}, {"7", 7}, {std::string("\0\xFF" "A", 3), {}},
      // Only the exact type names count: "VARCHAR(10)" and "INT" are text.
      {"abc", {}}, {"12", {}}, {"34", {}},
      {"", 0},  // null
  };
  for (int column = 0; column < table.ColCount(); ++column) {
    const auto& [text, integer] = cases[column];
    SCOPED_TRACE(column);
    EXPECT_EQ(table.FieldAsString(column), text);
    if (integer) {
      EXPECT_EQ(table.FieldAsInteger(column), *integer);
    } else {
      EXPECT_EQ(ErrorOf([&] { table.FieldAsInteger(column); }), "Not an integer or numeric field");
    }
  }
  EXPECT_NE(ErrorOf([&] { table.FieldAsString(11); }), "(no error)");

  // An expression column has no declared type: its first cell decides.
  TSQLiteTable count(db, "SELECT count (*) FROM t");
  EXPECT_EQ(count.FieldAsInteger(0), 2);
  TSQLiteTable text(db, "select 'x' || 'y'");
  EXPECT_EQ(ErrorOf([&] { text.FieldAsInteger(0); }), "Not an integer or numeric field");

  TSQLiteTable empty(db, "select s from t where s = 'none'");
  EXPECT_TRUE(empty.Eof());
  EXPECT_EQ(empty.RowCount(), 0);
  EXPECT_EQ(ErrorOf([&] { empty.FieldAsInteger(0); }), "Table is at End of File");
}

TEST(SQLiteTable, FailuresGiveTheMessagesOfTheDatabaseObject) {
  ScratchFolder folder;
  const std::string file = folder.File("errors.db");
  RunSql(file, "create table t (k TEXT);");
  TSQLiteDatabase db(file);
  EXPECT_EQ(ErrorOf([&] { TSQLiteTable(db, "select * from missing"); }),
            "Could not prepare SQL statement.\rError [1]: SQL logic error.\r\"select * from missing\": "
            "no such table: missing");

  // Another process holding the database: the query fails rather than waits.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "begin exclusive; insert into t values ('x');", nullptr, nullptr, nullptr),
            SQLITE_OK);
  TSQLiteDatabase second(file);
  const std::string locked = ErrorOf([&] { TSQLiteTable(second, "select * from t"); });
  sqlite3_close(other);
  EXPECT_NE(locked.find("Error [5]: database is locked"), std::string::npos) << locked;
}

}  // namespace
}  // namespace bootmark
