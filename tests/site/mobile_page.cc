#include "site/mobile_page.h"

#include <cstdint>
#include <string>
#include <vector>

#include "site/replica_content.h"

namespace zelmora::testing {
namespace {

constexpr char kHtmlType[] = "Content-Type: text/html; charset=utf-8\r\n";
constexpr std::size_t kHugeFillerBytes = std::size_t{16} << 20;
constexpr std::size_t kBinaryPageBytes = std::size_t{64} << 10;

// The parts of a mobile page that the scenarios vary.
struct PageParts {
  std::string filler;  // before the visible content (the huge page)
  std::string title = "夜空中的歌";
  bool pageHead = true;   // the inline script with the page's apostrophe-quoted text
  std::string variables;  // the inline script that assigns h5srcur
  std::string afterVariables;
  std::vector<std::string> scripts;  // script elements after the variables
};

std::string ScriptElement(std::string_view source) {
  return "<script type=\"text/javascript\" src=\"" + std::string(source) + "\"></script>";
}

std::string H5srcurLine(std::string_view name, std::string_view value) {
  return "var " + std::string(name) + " = \"" + std::string(value) + "\";\n";
}

// A normal track's page: the h5srcur value and three script files, the
// second of them in the /showmc/ directory.
PageParts NormalPage(std::string_view id) {
  PageParts page;
  page.variables = H5srcurLine("h5srcur", NormalH5srcur(id)) + "var songName = \"夜空中的歌\";\n";
  page.scripts = {ScriptElement("/js/zepto.min.js"), ScriptElement(ScriptPath(id)),
                  ScriptElement("/js/player.js?v=3")};
  return page;
}

std::string Render(const PageParts& page) {
  std::string html = "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n";
  html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  html += "<title>" + page.title + " - 手机试听</title>\n";
  if (page.pageHead) {
    html += "<script type=\"text/javascript\">var pageKind = '" + std::string(kPageHead) +
            "';</script>\n";
  }
  html += "</head>\n<body>\n" + page.filler;
  html += "<h1>" + page.title + "</h1>\n<p>歌手：城市乐队　专辑：夜色　时长：04:12</p>\n";
  if (!page.variables.empty()) {
    html += "<script type=\"text/javascript\">\n" + page.variables + "</script>\n";
  }
  html += page.afterVariables;
  for (const std::string& script : page.scripts) html += script + "\n";
  html += "<p>提示：请在手机浏览器中收听，本站不提供下载。</p>\n</body>\n</html>\n";
  return html;
}

std::string HugeFiller() {
  const std::string line = "<p>这是一段很长的歌词，一遍又一遍地重复，用来把页面撑到很大。</p>\n";
  std::string filler;
  filler.reserve(kHugeFillerBytes + line.size());
  while (filler.size() < kHugeFillerBytes) filler += line;
  return filler;
}

// Bytes of every value, zero and invalid UTF-8 included, but no quote or
// apostrophe, so no marker can match; the same bytes every time.
std::string BinaryBytes() {
  std::string bytes;
  bytes.reserve(kBinaryPageBytes);
  std::uint32_t state = 12345;
  while (bytes.size() < kBinaryPageBytes) {
    state = state * 1664525u + 1013904223u;
    const char byte = static_cast<char>(state >> 24);
    if (byte != '"' && byte != '\'') bytes += byte;
  }
  return bytes;
}

Reply Html(std::string body) { return Reply::Http(200, "OK", kHtmlType, body); }

// Pages whose script list or h5srcur variable differ from the normal page.
bool VaryMarkers(std::string_view id, PageParts& page) {
  if (id == "h5srcur2-first") {
    page.variables = H5srcurLine("h5srcur2", "music/h5srcur2-first-backup.mp3") +
                     H5srcurLine("h5srcur", NormalH5srcur(id));
  } else if (id == "two-showmc") {
    page.scripts.insert(page.scripts.begin() + 2, ScriptElement(ScriptPath("two-showmc-decoy")));
  } else if (id == "capital-showmc") {
    page.scripts[1] = ScriptElement("/SHOWMC/capital-showmc-decoy.js");
    page.scripts.push_back(ScriptElement(ScriptPath(id)));
  } else if (id == "no-showmc") {
    page.scripts.erase(page.scripts.begin() + 1);
  } else if (id == "absolute-script") {
    page.scripts[1] = ScriptElement(ScriptAddress(id));
  } else if (id == "attribute-order") {
    const std::string path = ScriptPath(id);
    page.scripts = {"<script src=\"" + path + "\" type=\"text/javascript\"></script>",
                    "<script type=\"text/javascript\"  src=\"" + path + "\"></script>",
                    "<SCRIPT type=\"text/javascript\" src=\"" + path + "\"></SCRIPT>",
                    "<script type=\"text/javascript\" src=\"" + path + "\" ></script>"};
  } else if (id == "chinese-names") {
    page.variables = H5srcurLine("h5srcur", "歌曲/晴天.mp3");
  } else if (id == "no-h5srcur") {
    page.variables.clear();
  } else if (id == "no-markers") {
    page = PageParts{.pageHead = false};
  } else {
    return false;
  }
  return true;
}

// Pages that are hostile to the reader: huge, invalid, cut short.
bool VaryBytes(std::string_view id, PageParts& page) {
  if (id == "huge-page") {
    page.filler = HugeFiller();
  } else if (id == "invalid-utf8") {
    page.title = "\xC3\x28 \xFF\xFE \xE2\x82 \xF0\x9F\x98 \xC0\xAF \xED\xA0\x80 夜空";
    page.variables = H5srcurLine("h5srcur", "music/bad\xFFname.mp3");
  } else if (id == "zero-byte") {
    page.afterVariables = std::string(1, '\0') + "<!-- after a zero byte -->\n";
  } else {
    return false;
  }
  return true;
}

}  // namespace

Reply MobilePageReply(std::string_view id) {
  if (id == "binary-page")
    return Reply::Http(200, "OK", "Content-Type: text/html\r\n", BinaryBytes());
  if (id == "truncated-page") {
    const std::string page = Render(NormalPage(id));
    return Reply::Raw(std::string("HTTP/1.1 200 OK\r\n") + kHtmlType + "Content-Length: " +
                      std::to_string(page.size() + 100000) + "\r\n\r\n" + page.substr(0, 300));
  }
  if (id == "page-redirect-loop") {
    return Reply::Http(302, "Found", "Location: " + MobilePageAddress(id) + "\r\n", "");
  }
  PageParts page = NormalPage(id);
  if (!VaryMarkers(id, page)) VaryBytes(id, page);
  return Html(Render(page));
}

}  // namespace zelmora::testing
