#include "app/cli/cli_options.h"

#include <gtest/gtest.h>

namespace zelmora::cli {
namespace {

ParseOutcome Parse(std::vector<std::string> arguments) {
  char program[] = "zelmora-cli";
  std::vector<char*> argv{program};
  for (std::string& argument : arguments) argv.push_back(argument.data());
  return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(ParseCommandLine, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> misuses = {
      {},                        // no URL
      {"--bogus", "http://a/"},  // unknown option
      {"-j", "0", "http://a/"},  // jobs out of range
      {"-j", "65", "http://a/"},
      {"-j", "many", "http://a/"},
      {"-m", "0", "http://a/"},                // timeout out of range
      {"--connect-to", "a:1:b", "http://a/"},  // three fields
      {"--connect-to", "a:99999:b:1", "http://a/"},
      {"-x", "proxy", "http://a/"},  // no port
      {"-x", "http://p:0", "http://a/"},
      {"-U", "u:p", "http://a/"},  // credentials without a proxy
      {"-x", "p:8080", "-U", "nocolon", "http://a/"},
      {"-i", "/nonexistent/zelmora/input", "http://a/"},
  };
  for (const auto& arguments : misuses) {
    const ParseOutcome outcome = Parse(arguments);
    EXPECT_FALSE(outcome.options.has_value()) << ::testing::PrintToString(arguments);
    EXPECT_EQ(outcome.exitCode, 2) << ::testing::PrintToString(arguments);
  }
}

TEST(ParseCommandLine, HelpAndVersionExitWithZero) {
  for (const char* flag : {"-h", "--help", "-V", "--version"}) {
    const ParseOutcome outcome = Parse({flag});
    EXPECT_FALSE(outcome.options.has_value()) << flag;
    EXPECT_EQ(outcome.exitCode, 0) << flag;
  }
}

TEST(ParseCommandLine, ReadsEveryOption) {
  const ParseOutcome outcome =
      Parse({"--json", "--connect-to", "www.x:443:127.0.0.1:8443", "u1", "--connect-to",
             "::127.0.0.1:8080", "-x", "http://proxy.local:3128", "-U", "me:p:w", "-m", "30", "-j",
             "16", "u2"});
  ASSERT_TRUE(outcome.options.has_value());
  const CliOptions& options = *outcome.options;
  EXPECT_EQ(options.urls, (std::vector<std::string>{"u1", "u2"}));  // a mapping takes one value
  EXPECT_TRUE(options.json);
  ASSERT_EQ(options.connectTo.size(), 2u);
  EXPECT_EQ(options.connectTo[0].host, "www.x");
  EXPECT_EQ(options.connectTo[1].connectPort, "8080");
  EXPECT_EQ(options.settings.proxyAddress, Text("proxy.local:3128"));
  EXPECT_EQ(options.settings.proxyUser, Text("me"));
  EXPECT_EQ(options.settings.proxyPassword, Text("p:w"));  // split at the first colon
  EXPECT_EQ(options.settings.timeoutSeconds, 30);
  EXPECT_EQ(options.jobs, 16);

  const ParseOutcome defaults = Parse({"u"});
  ASSERT_TRUE(defaults.options.has_value());
  EXPECT_EQ(defaults.options->jobs, 4);
  EXPECT_EQ(defaults.options->settings.timeoutSeconds, 15);
  EXPECT_TRUE(defaults.options->settings.proxyAddress.empty());
}

TEST(AppendInputLines, SkipsBlankAndCommentLines) {
  std::vector<std::string> urls{"first"};
  AppendInputLines(
      "# comment\n\n  http://a/1  \r\n\t\r\nhttp://b/2\n   # indented comment\nhttp://c/3", urls);
  EXPECT_EQ(urls, (std::vector<std::string>{"first", "http://a/1", "http://b/2", "http://c/3"}));
}

}  // namespace
}  // namespace zelmora::cli
