// Look-ups in a white list of 1,000,000 keys (32 upper-case hexadecimal digits),
// in a real database file in a temporary folder, made once per run.
//   BM_PreparedLookup/indexed: one statement prepared once, then per look-up a
//     key bound, one step and a reset (the engine's own rate).
//   BM_IsInWhiteList/indexed: TSqliteObj::IsInWhiteList as the screening calls it
//     (table check, statement text built, prepared, stepped into a result table).
//   The same without an index on MD5, as a table without one would be read.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/lookup_databases.h"
#include "fakes/fake_file_system.h"

namespace bootmark {
namespace {

constexpr int kKeys = 1000000;

std::string KeyOf(std::uint64_t a, std::uint64_t b) {
  char text[33];
  std::snprintf(text, sizeof text, "%016llX%016llX", static_cast<unsigned long long>(a),
                static_cast<unsigned long long>(b));
  return text;
}

void Exec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
}

// Two databases of the same keys, with and without an index; half of the keys
// looked up are listed.
struct WhiteListFiles {
  std::filesystem::path folder;
  std::string indexed, plain;
  std::vector<std::string> probes;

  WhiteListFiles() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bootmark-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    folder = pattern;
    indexed = (folder / "indexed.db").string();
    plain = (folder / "plain.db").string();
    std::mt19937_64 random(20240501);
    std::vector<std::string> keys;
    keys.reserve(kKeys);
    for (int i = 0; i < kKeys; ++i) keys.push_back(KeyOf(random(), random()));
    for (int i = 0; i < 4096; ++i) probes.push_back(i % 2 == 0 ? keys[random() % kKeys] : KeyOf(random(), random()));
    for (const std::string* file : {&indexed, &plain}) {
      sqlite3* db = nullptr;
      sqlite3_open(file->c_str(), &db);
      Exec(db, "create table whiteList (MD5 TEXT, note TEXT); begin;");
      sqlite3_stmt* insert = nullptr;
      sqlite3_prepare_v2(db, "insert into whiteList values (?, 'x')", -1, &insert, nullptr);
      for (const std::string& key : keys) {
        sqlite3_bind_text(insert, 1, key.c_str(), static_cast<int>(key.size()), SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
      }
      sqlite3_finalize(insert);
      Exec(db, "commit;");
      if (file == &indexed) Exec(db, "create index whiteListMD5 on whiteList (MD5);");
      sqlite3_close(db);
    }
  }
  ~WhiteListFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

WhiteListFiles& Files() {
  static WhiteListFiles files;
  return files;
}

const std::string& FileFor(const benchmark::State& state) {
  return state.range(0) != 0 ? Files().indexed : Files().plain;
}

void BM_PreparedLookup(benchmark::State& state) {
  const TSQLiteDatabase db(FileFor(state));
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db.Handle(), "select * from whiteList where MD5=?", -1, &statement, nullptr);
  const std::vector<std::string>& probes = Files().probes;
  std::size_t next = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    const std::string& key = probes[next++ % probes.size()];
    sqlite3_bind_text(statement, 1, key.c_str(), static_cast<int>(key.size()), SQLITE_STATIC);
    found += sqlite3_step(statement) == SQLITE_ROW;
    sqlite3_reset(statement);
  }
  sqlite3_finalize(statement);
  state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
  state.counters["lookups"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_IsInWhiteList(benchmark::State& state) {
  FakeFileSystem files;
  TSqliteObj db(files, FileFor(state));
  const std::vector<std::string>& probes = Files().probes;
  std::size_t next = 0;
  std::int64_t found = 0;
  for (auto _ : state) found += db.IsInWhiteList(probes[next++ % probes.size()]);
  state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
  state.counters["lookups"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_PreparedLookup)->ArgName("indexed")->Arg(1)->Arg(0);
BENCHMARK(BM_IsInWhiteList)->ArgName("indexed")->Arg(1)->Arg(0);

}  // namespace
}  // namespace bootmark
