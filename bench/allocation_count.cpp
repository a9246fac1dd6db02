// Allocations per record in steady state: a counting allocator replaces the
// global operator new, a generated batch warms the component up (its claims
// written, its buffers grown), and the allocations made while the next
// records go through are counted. The component reads the example settings
// files, as an installed one reads its own. Part of wcomp837_micro_bench.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "batch_generator.h"
#include "platform/files.h"
#include "wcomp837/format_class.h"

namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

void* Allocate(std::size_t size) {
  if (gCounting.load(std::memory_order_relaxed)) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

struct Line {
  std::string key;
  std::string record;
};

void BM_AllocationsPerRecord(benchmark::State& state) {
  // A record's buffer grows to the longest record of its kind; the
  // generated batch's rarest long records have all come by about 100,000
  // records (after 20,000, a few dozen buffers still grow once).
  constexpr std::int64_t kWarmUp = 100000;
  constexpr std::int64_t kCounted = 40000;
  std::vector<Line> batch;
  wcomp837::bench::BatchOptions options;
  options.records = kWarmUp + kCounted;
  wcomp837::bench::GenerateBatch(options, [&](const std::string& k, const std::string& r) {
    batch.push_back({k, r});
  });
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("wcomp837_alloc_" + std::to_string(::getpid()));
  wcomp837::SetComponentFolderForTesting(std::string(WCOMP837_SOURCE_DIR) + "/examples/settings");
  for (auto _ : state) {
    std::filesystem::create_directories(folder);
    {
      wcomp837::Format_Class component;
      component.HereIsAMessage("1", folder.string());
      component.HereIsAMessage("2", "alloc.837");
      std::size_t i = 0;
      for (; i < static_cast<std::size_t>(kWarmUp); ++i) {
        component.FormatRecord(batch[i].key, batch[i].record);
      }
      gAllocations = 0;
      gCounting = true;
      for (; i < batch.size(); ++i) component.FormatRecord(batch[i].key, batch[i].record);
      gCounting = false;
      state.counters["records"] = static_cast<double>(batch.size() - kWarmUp);
      state.counters["allocations_per_record"] =
          static_cast<double>(gAllocations.load()) / static_cast<double>(batch.size() - kWarmUp);
      component.ProcessEndOfFile();
    }
    std::filesystem::remove_all(folder);
  }
  wcomp837::SetComponentFolderForTesting(std::nullopt);
}
BENCHMARK(BM_AllocationsPerRecord)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
