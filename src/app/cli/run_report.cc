#include "app/cli/run_report.h"

#include <nlohmann/json.hpp>

#include "text/gbk_to_utf8.h"

namespace zelmora::cli {
namespace {

constexpr int kRedirectStatus = 302;

std::string Utf8(const Text& text) { return GbkToUtf8(text.view()); }

std::string ConnectionFailed(const Text& error, const Text& address) {
  return "connection failed: " + (error.empty() ? "no response" : Utf8(error)) + " (" +
         Utf8(address) + ")";
}

bool FirstRequestFailed(const ResolveReport& report) {
  return report.stage == ResolveStage::kNotRedirected && report.firstStatus == 0;
}

}  // namespace

std::string MediaLine(const ResolveReport& report) {
  return report.stage == ResolveStage::kDone ? Utf8(report.result) : std::string();
}

std::optional<std::string> FailureReason(const ResolveReport& report) {
  switch (report.stage) {
    case ResolveStage::kEmptyAddress:
      return "empty address";
    case ResolveStage::kNotRedirected:
      if (report.firstStatus == 0) return ConnectionFailed(report.firstError, report.address);
      return "first response status " + std::to_string(report.firstStatus) + ", expected " +
             std::to_string(kRedirectStatus);
    case ResolveStage::kDone:
      break;
  }
  if (!report.result.empty()) return std::nullopt;
  if (report.location.empty()) return "redirect without a Location header";
  if (report.pageStatus == 0) return ConnectionFailed(report.pageError, report.location);
  if (report.scriptStatus == 0) return ConnectionFailed(report.scriptError, report.scriptAddress);
  return "no media address: no h5srcur value on the page (status " +
         std::to_string(report.pageStatus) + ") and no quoted text in the script (status " +
         std::to_string(report.scriptStatus) + ")";
}

const char* StageName(const ResolveReport& report) {
  switch (report.stage) {
    case ResolveStage::kEmptyAddress:
      return "empty-address";
    case ResolveStage::kNotRedirected:
      return FirstRequestFailed(report) ? "request-failed" : "not-redirected";
    case ResolveStage::kDone:
      return "done";
  }
  return "done";
}

std::string JsonLine(const std::string& url, const ResolveReport& report) {
  const bool redirected = report.stage == ResolveStage::kDone;
  const std::optional<std::string> failure = FailureReason(report);
  nlohmann::ordered_json line = {
      {"url", url},
      {"media", redirected ? nlohmann::ordered_json(Utf8(report.result)) : nullptr},
      {"status", report.firstStatus},
      {"location", redirected ? nlohmann::ordered_json(Utf8(report.location)) : nullptr},
      {"h5srcur", redirected ? nlohmann::ordered_json(Utf8(report.h5srcur)) : nullptr},
      {"script", redirected ? nlohmann::ordered_json(Utf8(report.scriptAddress)) : nullptr},
      {"stage", StageName(report)},
      {"error", failure ? nlohmann::ordered_json(*failure) : nullptr},
  };
  // Texts from the network may hold bytes that are not UTF-8; they are
  // replaced rather than aborting the line.
  return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace zelmora::cli
