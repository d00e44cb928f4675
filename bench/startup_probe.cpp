// Starts two programs in turn, each many times, and times from exec to the first top-level
// window the program maps, as the X server reports it; then reads the program's resident
// memory once it has settled and ends it. Prints medians and the ratios of the first program
// to the second; the processor time each used until mapped is printed beside, as a figure that a
// busy machine disturbs less.
//   startup_probe RUNS SETTLE_MS PROGRAM BASELINE
// Every start gets its own empty HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR.
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
  double mappedMs = 0;
  double cpuMs = 0;  // run on a processor, all threads, until mapped
  double rssMiB = 0;
};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "startup_probe: %s\n", what.c_str());
  std::exit(1);
}

double ResidentMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  }
  Fail("no VmRSS for " + std::to_string(pid));
}

// The scheduler's own nanosecond count: a busy machine stretches it less than the wall time.
double CpuMs(pid_t pid) {
  double total = 0;
  std::error_code error;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream schedstat(task.path() / "schedstat");
    double nanoseconds = 0;
    if (schedstat >> nanoseconds) total += nanoseconds / 1e6;
  }
  return total;
}

class Display {
 public:
  Display() {
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) Fail("cannot reach the X server");
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    // Every window the programs map on the root is a top-level window: no window manager runs.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
  }
  ~Display() { xcb_disconnect(connection_); }

  // Drops whatever arrived between runs.
  void Drain() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) std::free(event);
  }

  // Waits until a top-level window that is not a pop-up is mapped; false if `pid` ends first.
  bool WaitForMap(pid_t pid, Clock::time_point& when) {
    const int fd = xcb_get_file_descriptor(connection_);
    while (true) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                            !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
        std::free(event);
        if (mapped) {
          when = Clock::now();
          return true;
        }
      }
      if (xcb_connection_has_error(connection_)) Fail("lost the X server");
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) return false;
      pollfd watch{fd, POLLIN, 0};
      poll(&watch, 1, 50);
    }
  }

 private:
  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = 0;
};

Sample RunOnce(Display& display, const std::string& program, int settleMs) {
  const auto work =
      std::filesystem::temp_directory_path() / ("startup_probe." + std::to_string(getpid()));
  std::filesystem::remove_all(work);
  for (const char* sub : {"home", "config", "runtime"})
    std::filesystem::create_directories(work / sub);
  chmod((work / "runtime").c_str(), 0700);

  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("HOME=", 0) == 0 || entry.rfind("XDG_CONFIG_HOME=", 0) == 0 ||
        entry.rfind("XDG_RUNTIME_DIR=", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0) {
      continue;
    }
    env.push_back(entry);
  }
  env.push_back("HOME=" + (work / "home").string());
  env.push_back("XDG_CONFIG_HOME=" + (work / "config").string());
  env.push_back("XDG_RUNTIME_DIR=" + (work / "runtime").string());
  env.push_back("QT_QPA_PLATFORM=xcb");
  std::vector<char*> envp;
  for (auto& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string arg0 = program;
  char* argv[] = {arg0.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

  display.Drain();
  pid_t pid = 0;
  const auto start = Clock::now();
  if (const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data())) {
    Fail(program + ": " + std::strerror(error));
  }
  posix_spawn_file_actions_destroy(&actions);

  Clock::time_point mapped;
  if (!display.WaitForMap(pid, mapped)) Fail(program + " ended before mapping a window");
  Sample sample;
  sample.mappedMs = std::chrono::duration<double, std::milli>(mapped - start).count();
  sample.cpuMs = CpuMs(pid);
  usleep(useconds_t(settleMs) * 1000);
  sample.rssMiB = ResidentMiB(pid);

  kill(pid, SIGTERM);
  int status = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    usleep(2000);
  }
  std::filesystem::remove_all(work);
  return sample;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Summary {
  double medianMs, minMs, maxMs, medianCpuMs, medianMiB, minMiB, maxMiB;
};

Summary Summarise(const std::vector<Sample>& samples) {
  std::vector<double> ms, cpu, mib;
  for (const Sample& s : samples) {
    ms.push_back(s.mappedMs);
    cpu.push_back(s.cpuMs);
    mib.push_back(s.rssMiB);
  }
  const auto [minMs, maxMs] = std::minmax_element(ms.begin(), ms.end());
  const auto [minMiB, maxMiB] = std::minmax_element(mib.begin(), mib.end());
  return {Median(ms), *minMs, *maxMs, Median(cpu), Median(mib), *minMiB, *maxMiB};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: startup_probe RUNS SETTLE_MS PROGRAM BASELINE\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  const int settleMs = std::max(0, std::atoi(argv[2]));
  const std::string program = argv[3];
  const std::string baseline = argv[4];

  Display display;
  // One unrecorded start of each fills the page cache and the font cache alike for both.
  RunOnce(display, program, 0);
  RunOnce(display, baseline, 0);
  std::vector<Sample> ours, theirs;
  for (int run = 0; run < runs; ++run) {
    // Alternating keeps slow spells of the shared machine from falling on one side only.
    if (run % 2 == 0) {
      ours.push_back(RunOnce(display, program, settleMs));
      theirs.push_back(RunOnce(display, baseline, settleMs));
    } else {
      theirs.push_back(RunOnce(display, baseline, settleMs));
      ours.push_back(RunOnce(display, program, settleMs));
    }
  }

  const Summary a = Summarise(ours);
  const Summary b = Summarise(theirs);
  const auto name = [](const std::string& path) {
    return std::filesystem::path(path).filename().string();
  };
  std::printf("%d starts each, exec to window mapped; resident memory %d ms after mapping\n", runs,
              settleMs);
  std::printf("%-16s %9s %7s %7s %9s   %9s %7s %7s\n", "", "median ms", "min", "max", "CPU ms",
              "RSS MiB", "min", "max");
  for (const auto& [label, s] : {std::pair{name(program), a}, std::pair{name(baseline), b}}) {
    std::printf("%-16s %9.1f %7.1f %7.1f %9.1f   %9.1f %7.1f %7.1f\n", label.c_str(), s.medianMs,
                s.minMs, s.maxMs, s.medianCpuMs, s.medianMiB, s.minMiB, s.maxMiB);
  }
  std::printf("start-up ratio %.2f, RSS ratio %.2f (goal: both at most 1.25); CPU to mapped %.2f\n",
              a.medianMs / b.medianMs, a.medianMiB / b.medianMiB, a.medianCpuMs / b.medianCpuMs);
  return 0;
}
