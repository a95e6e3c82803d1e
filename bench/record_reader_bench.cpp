// Micro-benchmark of the record reader: fields per second and bytes per
// second over a large schematic text held in a temporary file (read through
// the FILE* path, as the conversion does) and in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "schfile/record_reader.h"

namespace {

// About 64 MB made of the bundled examples repeated: the mix of short key
// fields, escapes, bitmap rows and Shift-JIS texts of real files.
const std::string& sampleText() {
  static const std::string text = [] {
    std::string one;
    for (const char* name : {"/amp_main.ce3", "/amp_power.ce3"}) {
      std::ifstream in(std::string(VESK_EXAMPLES_DIR) + name, std::ios::binary);
      std::stringstream ss;
      ss << in.rdbuf();
      one += ss.str();
    }
    std::string all;
    all.reserve(64u << 20);
    while (all.size() < (64u << 20)) all += one;
    return all;
  }();
  return text;
}

// The sample in a temporary file, rewound before each pass.
std::FILE* sampleFile() {
  const std::string& text = sampleText();
  std::FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  return file;
}

void countFields(vesk::RecordReader& reader, benchmark::State& state) {
  std::string field;
  std::size_t fields = 0;
  while (reader.readField(field) != -1) ++fields;
  benchmark::DoNotOptimize(fields);
  state.counters["fields"] = static_cast<double>(fields);
}

void BM_ReadFieldsFromFile(benchmark::State& state) {
  const std::string& text = sampleText();
  std::FILE* file = sampleFile();
  for (auto _ : state) {
    std::rewind(file);
    vesk::RecordReader reader(file);
    countFields(reader, state);
  }
  std::fclose(file);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadFieldsFromFile)->Unit(benchmark::kMillisecond);

void BM_ReadFieldsFromMemory(benchmark::State& state) {
  const std::string& text = sampleText();
  for (auto _ : state) {
    vesk::RecordReader reader(text);
    countFields(reader, state);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadFieldsFromMemory)->Unit(benchmark::kMillisecond);

// The way the conversion reads: views of the fields, no copies.
void BM_ReadFieldViewsFromFile(benchmark::State& state) {
  const std::string& text = sampleText();
  std::FILE* file = sampleFile();
  for (auto _ : state) {
    std::rewind(file);
    vesk::RecordReader reader(file);
    std::string_view field;
    std::size_t fields = 0;
    while (reader.readFieldView(field) != -1) ++fields;
    benchmark::DoNotOptimize(fields);
    state.counters["fields"] = static_cast<double>(fields);
  }
  std::fclose(file);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadFieldViewsFromFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
