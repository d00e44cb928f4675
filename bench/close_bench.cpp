// What a close costs on disk: the main window's save (the eight values in one batch, one
// atomic replacement of the settings file) over the real file store in a temporary folder, and
// the same eight writes without a batch for comparison. The aim: a close under 20 ms.
// Wall time, not CPU time: the cost is waiting for the disk.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <sys/stat.h>
#include <sys/vfs.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "settings/FileStore.h"
#include "settings/Persisted.h"
#include "settings/Registry.h"
#include "ui/frmMain.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrova;

const std::string kKey(settings::kSettingsKey);

// A folder under the system's temporary folder, gone at the end of the run.
struct Folder {
  fs::path path = [] {
    std::string pattern = (fs::temp_directory_path() / "kestrova-close-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return fs::path(pattern);
  }();
  ~Folder() { fs::remove_all(path); }
};

Folder& BenchFolder() {
  static Folder folder;
  return folder;
}

std::string FileSystemName(const fs::path& path) {
  struct statfs info {};
  if (statfs(path.c_str(), &info) != 0) return "unknown";
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53: return "ext2/3/4";
    case 0x01021994: return "tmpfs (no real disk)";
    case 0x58465342: return "xfs";
    case 0x9123683E: return "btrfs";
    case 0x794C7630: return "overlayfs";
    default: {
      char hex[32];
      std::snprintf(hex, sizeof hex, "type 0x%lX", static_cast<unsigned long>(info.f_type));
      return hex;
    }
  }
}

// The folder the settings would live in, or the nearest one above it that exists.
fs::path ExistingConfigFolder() {
  fs::path folder = fs::path(settings::FileStore::DefaultPath()).parent_path();
  while (!fs::exists(folder) && folder.has_parent_path() && folder != folder.parent_path()) {
    folder = folder.parent_path();
  }
  return folder;
}

void PrintWhere() {
  const fs::path bench = BenchFolder().path;
  const fs::path config = ExistingConfigFolder();
  struct stat a {
  }, b{};
  const bool sameDevice =
      stat(bench.c_str(), &a) == 0 && stat(config.c_str(), &b) == 0 && a.st_dev == b.st_dev;
  std::printf("settings file in %s (%s); the user's settings folder %s (%s) is %s\n", bench.c_str(),
              FileSystemName(bench).c_str(), config.c_str(), FileSystemName(config).c_str(),
              sameDevice ? "on the same file system" : "elsewhere");
}

// A store on a file of its own, with the settings key in place as after a start.
struct StoreOnDisk {
  explicit StoreOnDisk(const std::string& name)
      : store((BenchFolder().path / name / "Kestrova.reg").string()) {
    settings::Registry::SetStore(&store);
    settings::Registry::CreateSettingsKey(kKey);
  }
  ~StoreOnDisk() { settings::Registry::SetStore(nullptr); }
  settings::FileStore store;
};

// Every value differs from the stored one on each round, so every write has something to write.
void WriteEight(int round) {
  const std::string suffix = (round & 1) ? "1" : "2";
  for (const auto& saved : ui::frmMain::SavedValues()) {
    settings::Registry::WriteSettingValue(kKey, std::string(saved.name), "value " + suffix);
  }
}

void EightWritesInOneBatch(benchmark::State& state) {
  StoreOnDisk disk("batch");
  int round = 0;
  for (auto _ : state) {
    settings::Batch batch(settings::Registry::CurrentStore());
    WriteEight(++round);
  }
}

void EightWritesWithoutBatch(benchmark::State& state) {
  StoreOnDisk disk("nobatch");
  int round = 0;
  for (auto _ : state) WriteEight(++round);
}

// The window's own save, as a close runs it; the euro amount changes between rounds.
void WindowSave(benchmark::State& state) {
  StoreOnDisk disk("window");
  ui::frmMain window;
  window.Form_Initialize();
  window.Form_Load();
  auto* euro = window.findChild<QLineEdit*>(QStringLiteral("txtEURO"));
  int round = 0;
  for (auto _ : state) {
    euro->setText((++round & 1) ? QStringLiteral("12.5") : QStringLiteral("13.5"));
    window.Form_QueryUnload();
  }
}

BENCHMARK(WindowSave)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(EightWritesInOneBatch)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(EightWritesWithoutBatch)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The window is only built, never shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PrintWhere();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
