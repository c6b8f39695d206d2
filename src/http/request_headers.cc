#include "http/request_headers.h"

#include <string>

#include "runtime/text_ops.h"
#include "runtime/text_search.h"

namespace zelmora {
namespace {

constexpr char kLineBreak[] = "\r\n";

struct DefaultLine {
  const char* lookedFor;
  const char* line;  // appended after "\r\n"
  bool onlyForPost;
  bool addressFollows;  // the request's address completes the line
};

constexpr DefaultLine kDefaultLines[] = {
    {"Accept:", "Accept: */*", false, false},
    {"Referer:", "Referer: ", false, true},
    {"Accept-Language:", "Accept-Language: zh-cn", false, false},
    {"User-Agent:", "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)", false, false},
    {"Content-Type:", "Content-Type: application/x-www-form-urlencoded", true, false},
};

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// Width of the character that starts at `offset`: a byte of 80 hex or above
// and the byte after it form one character.
std::size_t CharWidth(std::string_view text, std::size_t offset) {
  const bool lead = static_cast<unsigned char>(text[offset]) >= 0x80;
  return lead && offset + 1 < text.size() ? 2 : 1;
}

// Appends `line` with its name capitalised word by word (words end at '-').
void AppendNormalizedLine(std::string& out, std::string_view line, std::size_t nameLength) {
  bool wordStart = true;
  std::size_t offset = 0;
  while (offset < nameLength) {
    const std::size_t width = CharWidth(line, offset);
    const char first = line[offset];
    out += width == 1 && wordStart ? UpperAscii(first) : first;
    if (width == 2) out += line[offset + 1];
    wordStart = width == 1 && first == '-';
    offset += width;
  }
  out.append(line.substr(nameLength));
}

}  // namespace

Text HeaderName(const Text& line) {
  const Position colon = FindText(line, ":");
  return colon == -1
             ? Text()
             : Text(TrimmedView(line.view().substr(0, static_cast<std::size_t>(colon - 1))));
}

Text HeaderValue(const Text& line) {
  const Position colon = FindText(line, ":");
  return colon == -1 ? Text()
                     : Text(TrimmedView(line.view().substr(static_cast<std::size_t>(colon))));
}

Text CapitalizeFirst(const Text& text) {
  if (text.empty()) return {};
  std::string result = text.str();
  result[0] = UpperAscii(result[0]);
  return Text(std::move(result));
}

void CompleteHeaders(Text& headers, int methodIndex, const Text& url) {
  for (const DefaultLine& row : kDefaultLines) {
    if (row.onlyForPost && methodIndex != kPostMethodIndex) continue;
    if (FindText(headers, row.lookedFor, 1, true) != -1) continue;
    headers += kLineBreak;
    headers += row.line;
    if (row.addressFollows) headers += url;
  }
}

Text NormalizeHeaderNames(const Text& headers) {
  std::string out;
  out.reserve(headers.size());
  bool first = true;
  for (const Text& piece : SplitText(headers, kLineBreak)) {
    const Position colon = FindText(piece, ":");
    if (colon == -1) continue;
    if (!first) out += kLineBreak;
    first = false;
    AppendNormalizedLine(out, piece.view(), static_cast<std::size_t>(colon - 1));
  }
  return Text(std::move(out));
}

}  // namespace zelmora
