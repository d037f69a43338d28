// Filling the slideshow template for large albums: the lists grow with the number of photos,
// and every template line is scanned once.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "album/Slideshow.h"

namespace {

using namespace pictavo;

std::vector<SlideshowEntry> MakeEntries(int count) {
  std::vector<SlideshowEntry> entries;
  entries.reserve(count);
  for (int i = 0; i < count; ++i) {
    entries.push_back({"IMG_" + std::to_string(10000 + i) + " 写真 & \"copy\".jpg",
                       i % 3 ? "" : "A note with <markup> & a \\ backslash\non two lines", 800,
                       600});
  }
  return entries;
}

std::vector<std::string> ShippedTemplate() {
  std::ifstream in(std::string(PICTAVO_STYLES_DIR) + "/design/js/slideshow.js", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return Slideshow::SplitTemplateLines(text.str());
}

void BM_MakeScriptValues(benchmark::State& state) {
  const auto entries = MakeEntries(static_cast<int>(state.range(0)));
  const Settings settings;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Slideshow::MakeScriptValues(settings, entries));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MakeScriptValues)->Arg(100)->Arg(1000)->Arg(10000);

void BM_FillShippedTemplate(benchmark::State& state) {
  const auto lines = ShippedTemplate();
  const auto values =
      Slideshow::MakeScriptValues(Settings{}, MakeEntries(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    benchmark::DoNotOptimize(Slideshow::FillScriptTemplate(lines, values));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillShippedTemplate)->Arg(100)->Arg(1000)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
