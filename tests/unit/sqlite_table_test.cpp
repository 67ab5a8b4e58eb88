#include "common/sqlite_table.h"

#include <gtest/gtest.h>

#include <fstream>

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

TEST(SQLiteTable, CellsReadByTheColumnsDeclaredType) {
  ScratchFolder folder;
  const std::string file = folder.File("types.db");
  RunSql(file,
         "create table t (i INTEGER, b boolean, n NUMERIC, f FLOAT, d DOUBLE, r REAL, x BLOB, s TEXT,"
         " v VARCHAR(10), w INT);"
         "insert into t values (42, 1, '2.75', -1.5, 1e3, 7, x'00FF41', 'abc', '12', '34');");
  TSQLiteDatabase db(file);
  TSQLiteTable table(db, "select i, b, n, f, d, r, x, s, v, w from t");
  ASSERT_EQ(table.RowCount(), 1);
  ASSERT_EQ(table.ColCount(), 10);
  EXPECT_EQ(table.Columns()[7], "s");

  struct Case {
    int column;
    SQLiteColumnType type;
    std::string text;
    std::optional<std::int64_t> integer;  // nullopt: integer read throws
    std::optional<double> number;         // nullopt: floating-point read throws
  };
  const Case cases[] = {
      {0, SQLiteColumnType::Integer, "42", 42, 42.0}, {1, SQLiteColumnType::Integer, "1", 1, 1.0},
      {2, SQLiteColumnType::Float, "2.75", 2, 2.75}, {3, SQLiteColumnType::Float, "-1.5", -1, -1.5},
      {4, SQLiteColumnType::Float, "1000", 1000, 1000.0}, {5, SQLiteColumnType::Float, "7", 7, 7.0},
      {6, SQLiteColumnType::Blob, std::string("\0\xFF" "A", 3), {}, {}},
      {7, SQLiteColumnType::Text, "abc", {}, {}},
      // Only the exact type names count: "VARCHAR(10)" and "INT" are text.
      {8, SQLiteColumnType::Text, "12", {}, {}}, {9, SQLiteColumnType::Text, "34", {}, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.column);
    EXPECT_EQ(table.ColumnType(test.column), test.type);
    EXPECT_EQ(table.FieldAsString(test.column), test.text);
    EXPECT_EQ(table.FieldAsBlob(test.column), test.text);
    if (test.integer) {
      EXPECT_EQ(table.FieldAsInteger(test.column), *test.integer);
    } else {
      EXPECT_EQ(ErrorOf([&] { table.FieldAsInteger(test.column); }), "Not an integer or numeric field");
    }
    if (test.number) {
      EXPECT_DOUBLE_EQ(table.FieldAsDouble(test.column), *test.number);
    } else {
      EXPECT_EQ(ErrorOf([&] { table.FieldAsDouble(test.column); }), "Not an integer or numeric field");
    }
  }
}

TEST(SQLiteTable, NullCellsAndUndeclaredColumns) {
  ScratchFolder folder;
  const std::string file = folder.File("nulls.db");
  RunSql(file, "create table t (i INTEGER, s TEXT); insert into t values (null, null);");
  TSQLiteDatabase db(file);
  TSQLiteTable nulls(db, "select i, s from t");
  for (int column : {0, 1}) {
    EXPECT_TRUE(nulls.FieldIsNull(column));
    EXPECT_EQ(nulls.FieldAsString(column), "");
    EXPECT_EQ(nulls.FieldAsInteger(column), 0);
  }
  // An expression column has no declared type: its first cell decides.
  TSQLiteTable count(db, "SELECT count (*) FROM t");
  EXPECT_EQ(count.ColumnType(0), SQLiteColumnType::Integer);
  EXPECT_EQ(count.FieldAsInteger(0), 1);
  TSQLiteTable text(db, "select 'x' || 'y'");
  EXPECT_EQ(text.FieldAsString(0), "xy");
  EXPECT_EQ(ErrorOf([&] { text.FieldAsInteger(0); }), "Not an integer or numeric field");
}

TEST(SQLiteTable, RowsInOrderThenEndOfFile) {
  ScratchFolder folder;
  const std::string file = folder.File("rows.db");
  RunSql(file, "create table t (k TEXT); insert into t values ('a'); insert into t values ('b');");
  TSQLiteDatabase db(file);
  TSQLiteTable table(db, "select k from t order by k");
  EXPECT_EQ(table.FieldAsString(0), "a");
  table.Next();
  EXPECT_EQ(table.FieldAsString(0), "b");
  table.Next();
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(ErrorOf([&] { table.FieldAsString(0); }), "Table is at End of File");
  table.MoveFirst();
  EXPECT_EQ(table.FieldAsString(0), "a");
  EXPECT_NE(ErrorOf([&] { table.FieldAsString(1); }), "(no error)");

  TSQLiteTable empty(db, "select k from t where k = 'z'");
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

  const std::string noFolder = folder.File("no such folder/x.db");
  EXPECT_EQ(ErrorOf([&] { TSQLiteDatabase failed(noFolder); }),
            "Failed to open database \"" + noFolder + "\" : unable to open database file");

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
