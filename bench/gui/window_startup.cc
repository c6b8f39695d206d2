// zelmora_window_startup: how long the window takes to open, from the start
// of the process until the window is exposed (shown on the screen), as a
// user starting the program sees it.
//
//   zelmora_window_startup [RUNS]     (default 20)
//
// Each start is a fresh process, so that the libraries, the platform plugin
// and the fonts load as they do at a real start. The figures are taken on the
// platform that QT_QPA_PLATFORM names, "offscreen" when it is not set (run it
// under an X server with QT_QPA_PLATFORM=xcb to include the window system).
// Printed per phase: minimum, median and maximum over the runs.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/qt/main_window.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

// Ends the event loop when the window is first exposed, noting the time.
class ExposureWatch final : public QObject {
 public:
  long long exposedNs = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && exposedNs == 0 &&
        static_cast<QWindow*>(watched)->isExposed()) {
      exposedNs = NowNs();
      QCoreApplication::quit();
    }
    return false;
  }
};

// One start: prints the clock at the entry of main, after the application
// object, after the window was made and shown, and when it was exposed.
int RunOnce(long long entryNs, int argc, char** argv) {
  const QApplication application(argc, argv);
  const long long applicationNs = NowNs();
  zelmora::Text headers;
  zelmora::MainWindow window(headers);
  ExposureWatch watch;
  window.winId();  // makes the platform window so the watch can sit on it
  window.windowHandle()->installEventFilter(&watch);
  window.show();
  const long long shownNs = NowNs();
  QApplication::exec();
  std::printf("%lld %lld %lld %lld\n", entryNs, applicationNs, shownNs, watch.exposedNs);
  return watch.exposedNs == 0 ? 1 : 0;
}

struct Sample {
  double processToMain, mainToApplication, applicationToShown, shownToExposed, total;
};

// Starts this program once more in start mode and reads its figures.
bool MeasureOneStart(Sample& sample) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  // The platform's notices would drown the figures; a failed start shows in its status.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char self[] = "/proc/self/exe";
  char mode[] = "--start";
  char* childArgv[] = {self, mode, nullptr};
  const long long spawnNs = NowNs();
  pid_t child = 0;
  const int spawned = posix_spawn(&child, self, &actions, nullptr, childArgv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return false;
  }
  std::string output;
  char buffer[256];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, n);
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  long long entry = 0, application = 0, shown = 0, exposed = 0;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      std::sscanf(output.c_str(), "%lld %lld %lld %lld", &entry, &application, &shown, &exposed) !=
          4) {
    return false;
  }
  const auto ms = [](long long ns) { return static_cast<double>(ns) / 1e6; };
  sample = {ms(entry - spawnNs), ms(application - entry), ms(shown - application),
            ms(exposed - shown), ms(exposed - spawnNs)};
  return true;
}

void PrintPhase(const char* name, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::printf("  %-34s min %8.2f ms   median %8.2f ms   max %8.2f ms\n", name, values.front(),
              values[values.size() / 2], values.back());
}

}  // namespace

int main(int argc, char** argv) {
  const long long entryNs = NowNs();
  if (argc > 1 && std::strcmp(argv[1], "--start") == 0) {
    int qtArgc = 1;
    return RunOnce(entryNs, qtArgc, argv);
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // only when not set
  std::vector<Sample> samples;
  for (int i = 0; i < runs; ++i) {
    Sample sample{};
    if (!MeasureOneStart(sample)) {
      std::fprintf(stderr, "zelmora_window_startup: start %d failed\n", i + 1);
      return 1;
    }
    samples.push_back(sample);
  }
  const auto column = [&samples](double Sample::*member) {
    std::vector<double> values;
    for (const Sample& sample : samples) values.push_back(sample.*member);
    return values;
  };
  std::printf("window start-up on \"%s\", %d fresh processes:\n", std::getenv("QT_QPA_PLATFORM"),
              runs);
  PrintPhase("process start to main()", column(&Sample::processToMain));
  PrintPhase("application object", column(&Sample::mainToApplication));
  PrintPhase("window made and shown", column(&Sample::applicationToShown));
  PrintPhase("shown to exposed", column(&Sample::shownToExposed));
  PrintPhase("process start to window exposed", column(&Sample::total));
  return 0;
}
