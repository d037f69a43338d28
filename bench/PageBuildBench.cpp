// How long the text work of the pages takes: encoders, navigation blocks and the join.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "album/HtmlFuncs.h"
#include "album/Navigation.h"
#include "core/Host.h"
#include "core/Settings.h"

namespace {

const std::string kName = "桜 の 写真 <2024> & 夏 #1 100%.jpg";

void BM_EntityString(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(pictavo::EncodeUtils::GetTextToEntityString(kName));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kName.size()));
}
BENCHMARK(BM_EntityString);

void BM_EncodeString(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(pictavo::EncodeUtils::GetTextToEncodeString(kName));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kName.size()));
}
BENCHMARK(BM_EncodeString);

// Thumbnail page links list every page, so an album of P pages costs P blocks of P cells.
void BM_ThumbnailPageLinks(benchmark::State& state) {
  pictavo::Settings settings;
  pictavo::NullPump pump;
  const int pages = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int page = 1; page <= pages; ++page) {
      benchmark::DoNotOptimize(
          pictavo::Navigation::GetThumbnailPageLinks(settings, pages, page, pump));
    }
  }
  state.SetItemsProcessed(state.iterations() * pages);
}
BENCHMARK(BM_ThumbnailPageLinks)->Arg(10)->Arg(100);

void BM_PhotoPageNumberLinks(benchmark::State& state) {
  pictavo::Settings settings;
  pictavo::NullPump pump;
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int index = 0; index < count; ++index) {
      benchmark::DoNotOptimize(
          pictavo::Navigation::GetPhotoPageNumberLinks(settings, index, count, pump));
    }
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PhotoPageNumberLinks)->Arg(200)->Arg(2000);

}  // namespace

BENCHMARK_MAIN();
