// zelmora-replica: the replica of the music site as a program, for the demo
// and for trying the tools by hand.
//
//   zelmora-replica [--port N] [--delay-ms N] [--exit-on-eof] [--log]
//
// Prints exactly one line "listening on 127.0.0.1:PORT" on standard output
// once it accepts connections, then serves until SIGINT, SIGTERM or SIGHUP
// (with --exit-on-eof also until standard input reaches its end), and says
// how many connections and requests it served on standard error. A shell's
// background job reads /dev/null, which ends at once: give --exit-on-eof
// only with a pipe on standard input (a coprocess, a parent program). Clients
// reach it with curl's --connect-to ::127.0.0.1:PORT, which sends every host
// of the site there.

#include <pthread.h>
#include <unistd.h>

#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <thread>

#include "app/site_constants.h"
#include "site/replica_content.h"
#include "site/replica_site.h"

using zelmora::testing::ReceivedRequest;
using zelmora::testing::ReplicaOptions;
using zelmora::testing::ReplicaSite;
using zelmora::testing::Reply;

namespace {

constexpr int kUsageError = 2;

struct Arguments {
  ReplicaOptions options;
  bool exitOnEof = false;
  bool log = false;
};

void PrintHelp() {
  std::printf(
      "Usage: zelmora-replica [--port N] [--delay-ms N] [--exit-on-eof] [--log]\n"
      "Serves a replica of the music site on 127.0.0.1 for every host of the site;\n"
      "reach it with --connect-to ::127.0.0.1:PORT. Prints \"listening on\n"
      "127.0.0.1:PORT\" when ready and serves until SIGINT, SIGTERM or SIGHUP.\n\n"
      "  --port N        port to listen on; 0 (the default) picks a free one\n"
      "  --delay-ms N    wait N milliseconds before every response\n"
      "  --exit-on-eof   also stop when standard input reaches its end (give it a\n"
      "                  pipe: a background job's /dev/null ends at once)\n"
      "  --log           one line per request on standard error\n\n"
      "Track pages: https://%s/playmc/<id>.html; the id picks a scenario:\n",
      zelmora::kDesktopHost);
  for (const auto& scenario : zelmora::testing::Scenarios()) {
    std::printf("  %-20s %s\n", std::string(scenario.id).c_str(),
                std::string(scenario.what).c_str());
  }
}

bool ParseNumber(std::string_view text, int low, int high, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// Parses the command line; exits after --help or on a usage error.
Arguments Parse(int argc, char** argv) {
  Arguments arguments;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    const bool takesValue = option == "--port" || option == "--delay-ms";
    int value = 0;
    if (option == "-h" || option == "--help") {
      PrintHelp();
      std::exit(0);
    } else if (option == "--exit-on-eof") {
      arguments.exitOnEof = true;
    } else if (option == "--log") {
      arguments.log = true;
    } else if (takesValue && i + 1 < argc &&
               ParseNumber(argv[i + 1], 0, option == "--port" ? 65535 : 600000, value)) {
      ++i;
      if (option == "--port")
        arguments.options.port = value;
      else
        arguments.options.delay = std::chrono::milliseconds(value);
    } else {
      std::fprintf(stderr, "zelmora-replica: %s: %s\n", argv[i],
                   takesValue ? "needs a number in range" : "unknown option (see --help)");
      std::exit(kUsageError);
    }
  }
  return arguments;
}

std::string Outcome(const Reply& reply) {
  if (reply.bytes.starts_with("HTTP/1.1 ") && reply.bytes.size() >= 12)
    return reply.bytes.substr(9, 3);
  switch (reply.then) {
    case Reply::Then::kReset:
      return "reset";
    case Reply::Then::kStaySilent:
      return "silence";
    default:
      return "garbage";
  }
}

void LogReply(const ReceivedRequest& request, const Reply& reply) {
  std::fprintf(stderr, "zelmora-replica: #%d %s %s %s -> %s\n", request.connection,
               request.method.c_str(), request.Header("Host").value_or("-").c_str(),
               request.target.c_str(), Outcome(reply).c_str());
}

// Raises SIGTERM when standard input ends, for a parent that holds a pipe to it.
void StopAtEndOfInput() {
  std::thread([] {
    char buffer[256];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    kill(getpid(), SIGTERM);
  }).detach();
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments = Parse(argc, argv);
  if (arguments.log) arguments.options.onReply = &LogReply;

  // Blocked in every thread, so that only sigwait below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stopSignals, signal);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  try {
    ReplicaSite site(arguments.options);
    std::printf("listening on 127.0.0.1:%d\n", site.port());
    std::fflush(stdout);
    if (arguments.exitOnEof) StopAtEndOfInput();
    int received = 0;
    sigwait(&stopSignals, &received);
    site.Stop();
    std::fprintf(stderr, "zelmora-replica: served %d connections, %d requests\n",
                 site.ConnectionCount(), site.RequestCount());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelmora-replica: %s\n", error.what());
    return 1;
  }
  return 0;
}
