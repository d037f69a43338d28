// How long the window goes without its messages being pumped during an album run: one
// 8000 x 8000 photo among small ones, the slowest single image a user is likely to list.
// Reports the longest gap between two pumps (steps and waits alike) in milliseconds.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "album/OutputRun.h"
#include "album/Runtime.h"
#include "core/PathUtils.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace {

using namespace pictavo;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Forwards to the recording host but times the gaps between pumps.
class TimingPump final : public Pump {
 public:
  bool PumpMessages() override { return Mark(); }
  bool PumpWhileWaiting() override { return Mark(); }
  double LongestGapMs() const { return m_longest.count() / 1000.0; }

 private:
  bool Mark() {
    const Clock::time_point now = Clock::now();
    if (m_last != Clock::time_point()) {
      m_longest =
          std::max(m_longest, std::chrono::duration_cast<std::chrono::microseconds>(now - m_last));
    }
    m_last = now;
    return true;
  }
  Clock::time_point m_last;
  std::chrono::microseconds m_longest{0};
};

class TimingHost final : public Host {
 public:
  MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override {
    return m_host.ShowMessage(text, icon, buttons);
  }
  bool ShowOutputSettings(OutputSettingsValues& values) override {
    return m_host.ShowOutputSettings(values);
  }
  bool OpenWithDesktop(const std::string&, std::string*) override { return true; }
  bool OpenWithProgram(const std::string&, const std::string&, std::string*) override {
    return true;
  }
  void SetClipboardText(const std::string&) override {}
  std::unique_ptr<ProgressWindow> CreateProgressWindow(ProgressKind kind) override {
    return m_host.CreateProgressWindow(kind);
  }
  Pump& GetPump() override { return m_pump; }

  TimingPump m_pump;

 private:
  testing::RecordingHost m_host;
};

void BM_LongestPumpGapWithOneHugePhoto(benchmark::State& state) {
  testing::TempDir dir;
  const fs::path listed = dir / "listed";
  fs::create_directories(listed);
  ItemList list;
  const auto add = [&](const std::string& name, int width, int height) {
    ALBUMITEM item;
    item.name = name;
    item.fullPath = (listed / name).string();
    testing::WriteImage(item.fullPath, width, height, testing::ImageFormat::Jpeg);
    list.SetRowChecked(list.InsertRow(list.AddItem(item)), true);
  };
  for (int i = 0; i < 8; ++i) add("small" + std::to_string(i) + ".jpg", 800, 600);
  add("huge.jpg", 8000, 8000);
  for (int i = 8; i < 16; ++i) add("small" + std::to_string(i) + ".jpg", 800, 600);
  Runtime runtime;
  runtime.styleFolder = PICTAVO_STYLES_DIR;
  LoadDesigns(runtime);
  Settings settings;
  settings.Output.ShowOutputSettings = 0;
  settings.OutputThumbnail.ThumbnailImageLink = 1;
  double longest = 0;
  int n = 0;
  for (auto _ : state) {
    TimingHost host;
    OutputRun run(list, settings, host, runtime);
    run.SetListedFolder(listed.string());
    const fs::path output = dir / ("album" + std::to_string(n++)) / "index.html";
    if (!run.GenerateOutput(0, output.string(), "Bench", "Bench")) {
      state.SkipWithError("the run failed");
      break;
    }
    longest = std::max(longest, host.m_pump.LongestGapMs());
  }
  state.counters["longest_pump_gap_ms"] = longest;
}
BENCHMARK(BM_LongestPumpGapWithOneHugePhoto)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
