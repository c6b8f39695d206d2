// zelmora-replica as a program: the line it prints when ready, the ways it
// stops, its usage errors; and the response delay of the replica.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "app/resolve_workflow.h"
#include "app/site_constants.h"
#include "http/host_mapping.h"
#include "site/recording_view.h"
#include "site/replica_content.h"
#include "site/replica_site.h"

extern char** environ;

namespace zelmora::testing {
namespace {

// zelmora-replica started with pipes to its standard input and output.
class ReplicaProcess {
 public:
  explicit ReplicaProcess(std::vector<std::string> arguments) {
    int input[2], output[2];
    if (pipe(input) != 0 || pipe(output) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    for (const int end : {input[0], input[1], output[0], output[1]}) {
      posix_spawn_file_actions_addclose(&actions, end);
    }
    arguments.insert(arguments.begin(), ZELMORA_REPLICA_PATH);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, ZELMORA_REPLICA_PATH, &actions, nullptr, argv.data(), environ) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    stdin_ = input[1];
    stdout_ = output[0];
  }

  ~ReplicaProcess() {
    CloseInput();
    if (stdout_ >= 0) close(stdout_);
    if (pid_ > 0 && !exitStatus_) {
      kill(pid_, SIGKILL);
      Wait();
    }
  }

  // Standard output up to the first line feed or its end.
  std::string FirstLine() {
    std::string line;
    char c;
    while (read(stdout_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }

  void CloseInput() {
    if (stdin_ >= 0) close(stdin_);
    stdin_ = -1;
  }
  void Signal(int signal) { kill(pid_, signal); }

  // The exit code, or -1 when it did not exit normally.
  int Wait() {
    if (!exitStatus_) {
      int status = 0;
      waitpid(pid_, &status, 0);
      exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return *exitStatus_;
  }

  bool started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  std::optional<int> exitStatus_;
};

// The port of "listening on 127.0.0.1:PORT", or 0.
int ListeningPort(const std::string& line) {
  static const std::regex kReady("listening on 127\\.0\\.0\\.1:([0-9]+)");
  std::smatch match;
  return std::regex_match(line, match, kReady) ? std::stoi(match[1]) : 0;
}

std::string ResolveSampleThrough(int port) {
  SetHostMappings({{"", "", "127.0.0.1", std::to_string(port)}});
  RecordingView view({kSampleTrackAddress});
  Text headers;
  const ResolveReport report = OnParseClicked(view, headers, {.timeoutSeconds = 5});
  SetHostMappings({});
  return report.result.str();
}

TEST(ReplicaProgramTest, ServesTheSampleAfterItsReadyLineUntilItsInputEnds) {
  ReplicaProcess replica({"--port", "0", "--exit-on-eof"});
  ASSERT_TRUE(replica.started());
  const int port = ListeningPort(replica.FirstLine());
  ASSERT_NE(port, 0);

  EXPECT_EQ(ResolveSampleThrough(port), MediaAddress(kSampleTrackId));

  replica.CloseInput();
  EXPECT_EQ(replica.Wait(), 0);
}

TEST(ReplicaProgramTest, StopsOnSigterm) {
  ReplicaProcess replica({"--delay-ms", "1"});
  ASSERT_TRUE(replica.started());
  ASSERT_NE(ListeningPort(replica.FirstLine()), 0);
  replica.Signal(SIGTERM);
  EXPECT_EQ(replica.Wait(), 0);
}

TEST(ReplicaProgramTest, UsageErrorsExitWithTwoBeforeListening) {
  const std::vector<std::vector<std::string>> misuses{
      {"--port"}, {"--port", "x"}, {"--port", "70000"}, {"--delay-ms", "-5"}, {"--bogus"}};
  for (const auto& arguments : misuses) {
    ReplicaProcess replica(arguments);
    ASSERT_TRUE(replica.started());
    EXPECT_EQ(replica.FirstLine(), "") << arguments[0];
    EXPECT_EQ(replica.Wait(), 2) << arguments[0];
  }
}

TEST(ReplicaSiteTest, WaitsTheDelayBeforeEveryResponse) {
  ReplicaSite site({.delay = std::chrono::milliseconds(150)});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ResolveSampleThrough(site.port()), MediaAddress(kSampleTrackId));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
  EXPECT_EQ(site.RequestCount(), 3);
}

}  // namespace
}  // namespace zelmora::testing
