#include "common/lookup_databases.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/fake_file_system.h"
#include "sqlite_test_files.h"

namespace bootmark {
namespace {

using testing::RunSql;
using testing::ScratchFolder;

constexpr const char* kKey = "0123456789ABCDEF0123456789ABCDEF";

class LookupDatabases : public ::testing::Test {
 protected:
  ScratchFolder folder;
  FakeFileSystem files;  // the ANSI code page (Windows-1252)
};

TEST_F(LookupDatabases, ListsAnswerByTheirKeys) {
  const std::string file = folder.File("lists.db");
  RunSql(file,
         "create table whiteList (MD5 TEXT, name TEXT);"
         "create table blackList (MD5 TEXT);"
         "create table signatureList (signature TEXT);"
         "insert into whiteList values ('0123456789ABCDEF0123456789ABCDEF', 'upper');"
         "insert into whiteList values ('fedcba9876543210fedcba9876543210', 'lower');"
         "insert into blackList values ('0123456789ABCDEF0123456789ABCDEF');"
         "insert into signatureList values ('o''brien software');"
         "insert into signatureList values ('tarvo ltd.');"
         "insert into signatureList values (cast(x'736F6369E974E9' as text));");  // "société" in Windows-1252
  TSqliteObj db(files, file);

  constexpr auto white = &TSqliteObj::IsInWhiteList;
  constexpr auto black = &TSqliteObj::IsInBlackList;
  constexpr auto signers = &TSqliteObj::IsInSignatureList;
  const struct {
    const char* name;
    bool (TSqliteObj::*lookUp)(std::string_view);
    const char* key;
    bool found;
  } cases[] = {
      {"white list, key given in lower case", white, "0123456789abcdef0123456789abcdef", true},
      {"white list, key stored in lower case", white, "fedcba9876543210fedcba9876543210", false},
      {"black list", black, "0123456789abcdef0123456789abcdef", true},
      {"signer with an apostrophe", signers, "o'brien software", true},
      {"signer compared exactly", signers, "Tarvo Ltd.", false},
      {"statement in the ANSI code page", signers, "soci\xC3\xA9t\xC3\xA9", true},
  };
  for (const auto& test : cases) EXPECT_EQ((db.*test.lookUp)(test.key), test.found) << test.name;
  EXPECT_TRUE(db.HasRows("select * from whiteList"));
  EXPECT_FALSE(db.HasRows("select * from blackList where MD5=''"));
}

TEST_F(LookupDatabases, DisableRateColumnsReadByPosition) {
  struct Case {
    const char* name;
    const char* table;
    const char* row;
    DisableRateRow expected;
  };
  const Case cases[] = {
      {"only the key column is named", "(MD5, x, y, extra)", "('k', '12', '0', 'x')", {"12", 0}},
      {"two columns", "(MD5, drate)", "('k', '40')", {"40", -1}}, {"one column", "(MD5)", "('k')", {"", -1}},
      {"recommendation not a number", "(MD5, drate, recommendation)", "('k', '5', 'keep')", {"5", -1}},
      {"null cells", "(MD5, drate, recommendation)", "('k', null, null)", {"", -1}},
      {"numbers stored as numbers", "(MD5, drate REAL, recommendation INTEGER)", "('k', 7.5, 1)", {"7.5", 1}},
      {"key compared as given", "(MD5, drate, recommendation)", "('K', '1', '1')", {"", -1}},
  };
  int index = 0;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const std::string file = folder.File("rate" + std::to_string(index++) + ".db");
    RunSql(file, std::string("create table disableRate ") + test.table + "; insert into disableRate values " +
                     test.row + ";");
    TSqliteObj db(files, file);
    EXPECT_EQ(db.GetDisableRate("k"), test.expected);
  }
}

TEST_F(LookupDatabases, MissingTablesAndFilesAnswerNotFound) {
  const std::string other = folder.File("startupWhite.db");
  RunSql(other, "create table somethingElse (MD5 TEXT); insert into somethingElse values ('" +
                    std::string(kKey) + "');");
  const std::string missing = folder.File("missing.db");
  for (const std::string& file : {other, missing}) {
    SCOPED_TRACE(file);
    TSqliteObj db(files, file);
    EXPECT_FALSE(db.TableExists("whiteList"));
    EXPECT_FALSE(db.IsInWhiteList(kKey));
    EXPECT_FALSE(db.IsInBlackList(kKey));
    EXPECT_FALSE(db.IsInSignatureList("tarvo ltd."));
    EXPECT_EQ(db.GetDisableRate(kKey), DisableRateRow{});
  }
  // Only read: a missing file is never created.
  EXPECT_FALSE(std::filesystem::exists(missing));
  TSqliteObj db(files, other);
  EXPECT_TRUE(db.TableExists("somethingElse"));
}

TEST_F(LookupDatabases, DamagedFileRaisesForTheCaller) {
  const std::string file = folder.File("damaged.db");
  std::ofstream(file, std::ios::binary) << std::string(4096, 'x');
  TSqliteObj db(files, file);
  try {
    db.IsInWhiteList(kKey);
    FAIL() << "no error";
  } catch (const ESQLiteException& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Could not prepare SQL statement.\rError [26]:", 0), 0u)
        << error.what();
  }
}

}  // namespace
}  // namespace bootmark
