#include "app/cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>

#include "text/utf8_to_gbk.h"

namespace zelmora::cli {
namespace {

constexpr int kUsageError = 2;
constexpr int kMaxJobs = 64;
constexpr int kMaxTimeoutSeconds = 2147483;  // the request layer counts milliseconds in 32 bits

Text ToCodePage(const std::string& utf8) { return Utf8ToGbk(BytesOf(utf8)); }

// "[http://]HOST:PORT" with a port from 1 to 65535; the scheme is dropped.
std::optional<std::string> ProxyAddress(std::string value) {
  if (value.rfind("http://", 0) == 0) value.erase(0, 7);
  const std::size_t colon = value.rfind(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  const std::string_view port = std::string_view(value).substr(colon + 1);
  int number = 0;
  const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
  if (error != std::errc() || end != port.data() + port.size() || number < 1 || number > 65535) {
    return std::nullopt;
  }
  for (const char c : value) {
    if (c <= ' ' || c == '/' || c == '@' || c == 0x7F) return std::nullopt;
  }
  return value;
}

std::string ReadInput(const std::string& path, bool& ok) {
  std::ostringstream content;
  if (path == "-") {
    content << std::cin.rdbuf();
    ok = !std::cin.bad();
    return content.str();
  }
  std::ifstream file(path, std::ios::binary);
  ok = file.good();
  if (ok) content << file.rdbuf();
  return content.str();
}

int UsageError(const std::string& message) {
  std::cerr << "zelmora-cli: " << message << "\nTry 'zelmora-cli --help' for more information.\n";
  return kUsageError;
}

}  // namespace

void AppendInputLines(std::string_view input, std::vector<std::string>& urls) {
  while (!input.empty()) {
    const std::size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || line[first] == '#') continue;
    line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
    urls.emplace_back(line);
  }
}

ParseOutcome ParseCommandLine(int argc, char** argv) {
  CLI::App app{
      "Resolves track-page addresses of the music site into the addresses of their media "
      "files. Prints one line per URL, in input order: the media address, or an empty line "
      "when there is none (the reason goes to standard error).",
      "zelmora-cli"};
  app.set_version_flag("-V,--version", "zelmora-cli " ZELMORA_VERSION);
  CliOptions options;
  std::vector<std::string> connectTo;
  std::string proxy;
  std::string proxyUser;
  int timeout = 15;
  app.add_option("URL", options.urls, "Track-page addresses to resolve");
  app.add_option("-i,--input", options.inputFile,
                 "Read more URLs from FILE, one per line ('-' for standard input); blank lines "
                 "and lines starting with # are skipped");
  app.add_flag("--json", options.json, "Print one JSON object per URL instead of plain lines");
  app.add_option("--connect-to", connectTo,
                 "HOST:PORT:CONNECT_HOST:CONNECT_PORT: connect to CONNECT_HOST:CONNECT_PORT for "
                 "requests to HOST:PORT (empty HOST or PORT match any); repeatable")
      ->allow_extra_args(false);
  app.add_option("-x,--proxy", proxy,
                 "Send the requests through the HTTP proxy [http://]HOST:PORT");
  app.add_option("-U,--proxy-user", proxyUser,
                 "USER:PASSWORD for the proxy (Basic; sent to the proxy only)");
  app.add_option("-m,--timeout", timeout, "Limit of each phase of a request, in seconds")
      ->default_val(15)
      ->check(CLI::Range(1, kMaxTimeoutSeconds));
  app.add_option("-j,--jobs", options.jobs, "How many URLs to resolve at once (1 to 64)")
      ->default_val(4)
      ->check(CLI::Range(1, kMaxJobs));
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return {.exitCode = 0};
  } catch (const CLI::CallForVersion& version) {
    std::cout << version.what() << '\n';
    return {.exitCode = 0};
  } catch (const CLI::ParseError& error) {
    return {.exitCode = UsageError(error.what())};
  }

  for (const std::string& rule : connectTo) {
    const std::optional<HostMapping> mapping = ParseHostMapping(rule);
    if (!mapping)
      return {.exitCode = UsageError("bad --connect-to '" + rule +
                                     "': expected HOST:PORT:CONNECT_HOST:CONNECT_PORT")};
    options.connectTo.push_back(*mapping);
  }
  if (!proxy.empty()) {
    const std::optional<std::string> address = ProxyAddress(proxy);
    if (!address)
      return {.exitCode = UsageError("bad --proxy '" + proxy + "': expected [http://]HOST:PORT")};
    options.settings.proxyAddress = Text(*address);
  }
  if (!proxyUser.empty()) {
    if (proxy.empty()) return {.exitCode = UsageError("--proxy-user needs --proxy")};
    const std::size_t colon = proxyUser.find(':');
    if (colon == std::string::npos)
      return {.exitCode = UsageError("bad --proxy-user: expected USER:PASSWORD")};
    options.settings.proxyUser = ToCodePage(proxyUser.substr(0, colon));
    options.settings.proxyPassword = ToCodePage(proxyUser.substr(colon + 1));
  }
  options.settings.timeoutSeconds = timeout;
  if (!options.inputFile.empty()) {
    bool ok = false;
    const std::string input = ReadInput(options.inputFile, ok);
    if (!ok) return {.exitCode = UsageError("cannot read input '" + options.inputFile + "'")};
    AppendInputLines(input, options.urls);
  }
  if (options.urls.empty()) return {.exitCode = UsageError("no URL given")};
  return {.options = std::move(options)};
}

}  // namespace zelmora::cli
