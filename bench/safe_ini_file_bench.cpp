// TSafeIniFile: loading, filling and saving one section of n keys (each must
// stay linear in n), reading every key back, and parsing a 10 MB UTF-16 file.
// Files live in the in-memory file system, so the figures are the class's own.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"

namespace bootmark {
namespace {

constexpr const char* kPath = "C:\\Bench\\settings.ini";
constexpr const char* kSection = "Items";

struct Keys {
  explicit Keys(int count) {
    for (int i = 0; i < count; ++i) {
      names.push_back("Item" + std::to_string(i));
      values.push_back("C:\\Program Files\\Vendor " + std::to_string(i) + "\\app.exe|1|0");
    }
  }
  std::vector<std::string> names;
  std::vector<std::string> values;
};

// Seconds per key, shown as a time.
void CountKeys(benchmark::State& state, int keys) {
  state.SetComplexityN(keys);
  state.SetItemsProcessed(state.iterations() * keys);
  state.counters["per_key"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * keys,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Writes the section into the fake disk and returns nothing; used to set up loads.
void WriteFile(FakeFileSystem& fs, const Keys& keys) {
  TSafeIniFile ini(fs, kPath, TextEncoding::Utf16LE);
  ini.SetAppendOnly(true);
  for (std::size_t i = 0; i < keys.names.size(); ++i) {
    ini.WriteString(kSection, keys.names[i], keys.values[i]);
  }
  ini.UpdateFile();
}

void BM_FillSection(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Keys keys(n);
  FakeFileSystem fs;
  for (auto _ : state) {
    TSafeIniFile ini(fs);
    for (int i = 0; i < n; ++i) ini.WriteString(kSection, keys.names[i], keys.values[i]);
    benchmark::DoNotOptimize(ini.Modified());
  }
  CountKeys(state, n);
}

void BM_LoadSection(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FakeFileSystem fs;
  WriteFile(fs, Keys(n));
  for (auto _ : state) {
    TSafeIniFile ini(fs, kPath);
    benchmark::DoNotOptimize(ini.LastError());
  }
  CountKeys(state, n);
}

void BM_SaveSection(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Keys keys(n);
  FakeFileSystem fs;
  TSafeIniFile ini(fs, kPath);
  for (int i = 0; i < n; ++i) ini.WriteString(kSection, keys.names[i], keys.values[i]);
  for (auto _ : state) {
    ini.WriteString(kSection, keys.names[0], keys.values[0]);
    ini.UpdateFile();
  }
  CountKeys(state, n);
}

void BM_ReadEveryKey(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Keys keys(n);
  FakeFileSystem fs;
  WriteFile(fs, keys);
  for (auto _ : state) {
    state.PauseTiming();
    TSafeIniFile ini(fs, kPath);
    state.ResumeTiming();
    for (int i = 0; i < n; ++i) {
      benchmark::DoNotOptimize(ini.ReadString(kSection, keys.names[i], ""));
    }
  }
  CountKeys(state, n);
}

BENCHMARK(BM_FillSection)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSection)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveSection)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEveryKey)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// A 10 MB UTF-16 LE file of many sections of 100 keys, the shape of a large
// startup inventory.
void BM_Parse10MBUtf16(benchmark::State& state) {
  constexpr std::size_t kTargetBytes = 10u << 20;
  std::string text;
  int lines = 0;
  for (int section = 0; text.size() * 2 < kTargetBytes; ++section) {
    text += "[Entry " + std::to_string(section) + "]\r\n";
    for (int key = 0; key < 100; ++key, ++lines) {
      text += "Value" + std::to_string(key) + "=C:\\Program Files\\Vendor\\tool" +
              std::to_string(section) + ".exe /background|" + std::to_string(key) + "\r\n";
    }
    text += "\r\n";
  }
  std::string bytes = "\xFF\xFE";
  AppendUtf16(bytes, text);
  FakeFileSystem fs;
  fs.AddFile(kPath, bytes);
  for (auto _ : state) {
    TSafeIniFile ini(fs, kPath);
    benchmark::DoNotOptimize(ini.LastError());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["lines"] = lines;
}
BENCHMARK(BM_Parse10MBUtf16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bootmark

