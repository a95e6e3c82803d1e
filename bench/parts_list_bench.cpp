// Micro-benchmark of PartsListBuilder::build (sorting the rows), of
// collecting and building together (splitting the references, copying the
// texts into the rows, sorting) and of writing the CSV,
// on 100,000 collected components with the reference mix of a large
// design: the usual prefixes, numbers up to a few thousand, some
// references repeated.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "convert/parts_list_builder.h"
#include "schobj/sch_component.h"

namespace {

constexpr int kComponents = 100000;

const vesk::ObjectList& sampleObjects() {
  static const vesk::ObjectList objects = [] {
    const char* const prefixes[] = {"R", "R", "R", "C", "C", "U", "IC", "L", "D", "Q", "TP"};
    const char* const names[] = {"10k", "22k", "4.7k", "100n", "10u", "74HC00", "LM358"};
    const char* const notes[] = {"", "", "1/4W", "\x8b\xe0\x91\xae\x94\xe7\x96\x8c 1/4W"};
    std::mt19937 random(20261207);
    vesk::ObjectList made;
    made.reserve(kComponents);
    for (int i = 0; i < kComponents; ++i) {
      auto component = std::make_unique<vesk::SchComponent>();
      const std::string prefix = prefixes[random() % std::size(prefixes)];
      component->setReference(prefix + std::to_string(random() % 5000 + 1));
      component->setName(names[random() % std::size(names)]);
      component->setNote(notes[random() % std::size(notes)]);
      made.push_back(std::move(component));
    }
    return made;
  }();
  return objects;
}

// Times build alone, or collecting and building together: the rows are
// made as the components are collected, so build itself only sorts.
void timeBuild(benchmark::State& state, bool withCollect) {
  const auto& objects = sampleObjects();
  for (auto _ : state) {
    if (!withCollect) state.PauseTiming();
    auto builder = std::make_unique<vesk::PartsListBuilder>();
    builder->collect(objects);
    if (!withCollect) state.ResumeTiming();
    builder->build();
    benchmark::DoNotOptimize(builder->entries());
    state.PauseTiming();
    builder.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kComponents);
}

void BM_PartsListBuild(benchmark::State& state) { timeBuild(state, false); }
BENCHMARK(BM_PartsListBuild)->Unit(benchmark::kMillisecond);

void BM_PartsListCollectAndBuild(benchmark::State& state) { timeBuild(state, true); }
BENCHMARK(BM_PartsListCollectAndBuild)->Unit(benchmark::kMillisecond);

void BM_PartsListWrite(benchmark::State& state) {
  vesk::PartsListBuilder builder;
  builder.collect(sampleObjects());
  builder.build();
  std::FILE* out = std::tmpfile();
  if (out == nullptr) {
    state.SkipWithError("no temporary file");
    return;
  }
  for (auto _ : state) {
    std::rewind(out);
    builder.write(out);
    std::fflush(out);
  }
  std::fclose(out);
  state.SetItemsProcessed(state.iterations() * kComponents);
}
BENCHMARK(BM_PartsListWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
