// The command-line contract, with the real zelmora-cli against a small site on
// loopback: one output line per URL in input order, JSON lines, URLs from
// standard input, exit codes and diagnostics.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "support/forward_proxy.h"
#include "support/loopback_server.h"

namespace zelmora {
namespace {

using testing::LoopbackServer;
using testing::ReceivedRequest;
using testing::Reply;

// Track n of the site: /playmc/<n>.html redirects to the mobile host; the
// mobile page names h5srcur "<n>.mp3" and the script /showmc/<n>.js, whose
// first quoted text is the media prefix. Tracks "200" and "none" misbehave.
// Lower tracks answer later, so runs finish out of input order.
Reply SiteReply(const ReceivedRequest& request) {
  const std::string& target = request.target;
  const std::string host = request.Header("Host").value_or("");
  const std::size_t slash = target.rfind('/');
  const std::string track = target.substr(slash + 1, target.find('.', slash) - slash - 1);
  if (target.rfind("/playmc/", 0) == 0 && host.rfind("m.zelmora.example", 0) != 0) {
    if (track == "200") return Reply::Ok("<html>desktop page</html>");
    if (std::isdigit(static_cast<unsigned char>(track[0]))) {
      std::this_thread::sleep_for(
          std::chrono::milliseconds(std::max(0, 6 - std::stoi(track)) * 40));
    }
    return Reply::Redirect(302, "http://m.zelmora.example/playmc/" + track + ".html");
  }
  if (target.rfind("/playmc/", 0) == 0) {
    if (track == "none") return Reply::Ok("<html>no markers here</html>");
    return Reply::Ok("<html><head><script>var h5srcur = \"" + track +
                     ".mp3\";</script>\n<script type=\"text/javascript\" src=\"/showmc/" + track +
                     ".js\"></script></head><body>中文</body></html>");
  }
  if (target.rfind("/showmc/", 0) == 0)
    return Reply::Ok("var u = 'http://media.zelmora.example/';");
  return Reply::Http(404, "Not Found", "", "");
}

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

class ZelmoraCli : public ::testing::Test {
 protected:
  ZelmoraCli()
      : site_(SiteReply),
        dir_(std::filesystem::temp_directory_path() /
             ("zelmora-cli-test-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
  }
  ~ZelmoraCli() override { std::filesystem::remove_all(dir_); }

  std::string Track(const std::string& track) const {
    return "http://127.0.0.1:" + std::to_string(site_.port()) + "/playmc/" + track + ".html";
  }

  // Runs zelmora-cli with the mobile host mapped to the site.
  Outcome Run(const std::string& arguments, const std::string& input = "") const {
    std::ofstream(dir_ / "in") << input;
    const std::string command =
        std::string(ZELMORA_CLI_PATH) +
        " --connect-to m.zelmora.example:80:127.0.0.1:" + std::to_string(site_.port()) + " " +
        arguments + " <" + (dir_ / "in").string() + " >" + (dir_ / "out").string() + " 2>" +
        (dir_ / "err").string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read("out"), Read("err")};
  }

  std::string Read(const char* name) const {
    std::ostringstream content;
    content << std::ifstream(dir_ / name).rdbuf();
    return content.str();
  }

  LoopbackServer site_;
  std::filesystem::path dir_;
};

TEST_F(ZelmoraCli, PrintsOneLinePerUrlInInputOrder) {
  const Outcome outcome = Run("-j 6 " + Track("1") + " " + Track("2") + " " + Track("3") + " " +
                              Track("4") + " " + Track("5") + " " + Track("6"));
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "http://media.zelmora.example/1.mp3\nhttp://media.zelmora.example/2.mp3\n"
            "http://media.zelmora.example/3.mp3\nhttp://media.zelmora.example/4.mp3\n"
            "http://media.zelmora.example/5.mp3\nhttp://media.zelmora.example/6.mp3\n");
  EXPECT_EQ(outcome.err, "");  // not a terminal: no progress line
}

TEST_F(ZelmoraCli, FailuresGiveEmptyLinesDiagnosticsAndExitOne) {
  const Outcome outcome =
      Run(Track("1") + " " + Track("200") + " http://127.0.0.1:1/x " + Track("none"));
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.out, "http://media.zelmora.example/1.mp3\n\n\n\n");
  EXPECT_NE(outcome.err.find(Track("200") + ": first response status 200, expected 302\n"),
            std::string::npos)
      << outcome.err;
  // The transport's own reason is told, not a generic one.
  EXPECT_NE(outcome.err.find("http://127.0.0.1:1/x: connection failed: "), std::string::npos)
      << outcome.err;
  EXPECT_EQ(outcome.err.find("connection failed: no response"), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find(Track("none") + ": no media address"), std::string::npos)
      << outcome.err;
  EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 3);
}

TEST_F(ZelmoraCli, ReadsUrlsFromStandardInputAfterTheArguments) {
  const Outcome outcome =
      Run(Track("1") + " -i -", "# tracks\n\n" + Track("2") + "\r\n  " + Track("3") + "\n");
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "http://media.zelmora.example/1.mp3\nhttp://media.zelmora.example/2.mp3\n"
            "http://media.zelmora.example/3.mp3\n");
}

TEST_F(ZelmoraCli, JsonLinesDescribeEachRun) {
  const Outcome outcome = Run("--json " + Track("4") + " " + Track("200"));
  EXPECT_EQ(outcome.exitCode, 1);
  std::istringstream lines(outcome.out);
  std::string line;
  std::vector<nlohmann::json> objects;
  while (std::getline(lines, line)) objects.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0]["url"], Track("4"));
  EXPECT_EQ(objects[0]["media"], "http://media.zelmora.example/4.mp3");
  EXPECT_EQ(objects[0]["status"], 302);
  EXPECT_EQ(objects[0]["location"], "http://m.zelmora.example/playmc/4.html");
  EXPECT_EQ(objects[0]["h5srcur"], "4.mp3");
  EXPECT_EQ(objects[0]["script"], "http://m.zelmora.example/showmc/4.js");
  EXPECT_EQ(objects[0]["stage"], "done");
  EXPECT_TRUE(objects[0]["error"].is_null());
  EXPECT_TRUE(objects[1]["media"].is_null());
  EXPECT_EQ(objects[1]["status"], 200);
  EXPECT_EQ(objects[1]["stage"], "not-redirected");
  EXPECT_EQ(objects[1]["error"], "first response status 200, expected 302");
}

TEST_F(ZelmoraCli, UsageErrorsExitTwoWithoutRequests) {
  EXPECT_EQ(Run("").exitCode, 2);
  EXPECT_EQ(Run("--jobs 100 " + Track("1")).exitCode, 2);
  const Outcome unknown = Run("--frobnicate " + Track("1"));
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("--frobnicate"), std::string::npos);
  EXPECT_EQ(unknown.out, "");
  EXPECT_EQ(site_.Requests().size(), 0u);
}

TEST_F(ZelmoraCli, SendsEveryRequestThroughTheProxyWithCredentialsForTheProxyOnly) {
  int port = 0;
  LoopbackServer origin([&port](const ReceivedRequest& request) {
    if (request.target.find("/track") != std::string::npos) {
      return Reply::Redirect(302, "http://127.0.0.1:" + std::to_string(port) + "/page");
    }
    return Reply::Ok("<script>var h5srcur = \"x.mp3\";</script>");
  });
  port = origin.port();
  testing::ForwardProxy proxy;

  const Outcome outcome = Run("-x http://" + proxy.Address() +
                              " -U user:pw http://127.0.0.1:" + std::to_string(port) + "/track");

  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "x.mp3\n");  // no script: the page again, no quoted text in it
  ASSERT_EQ(proxy.Requests().size(), 3u);
  for (const ReceivedRequest& request : proxy.Requests()) {
    EXPECT_EQ(request.Header("Proxy-Authorization"), "Basic dXNlcjpwdw==") << request.target;
  }
  ASSERT_EQ(origin.Requests().size(), 3u);
  for (const ReceivedRequest& request : origin.Requests()) {
    EXPECT_FALSE(request.Header("Proxy-Authorization").has_value()) << request.target;
  }
}

TEST_F(ZelmoraCli, ASilentServerEndsAfterTheTimeout) {
  LoopbackServer silent([](const ReceivedRequest&) { return Reply::Silence(); });
  const auto start = std::chrono::steady_clock::now();
  const Outcome outcome = Run("-m 1 http://127.0.0.1:" + std::to_string(silent.port()) + "/track");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.out, "\n");
  EXPECT_NE(outcome.err.find("connection failed: "), std::string::npos) << outcome.err;
  EXPECT_LT(waited, std::chrono::seconds(10));  // a bound against hanging, not a speed target
}

}  // namespace
}  // namespace zelmora
