#include "http/request_headers.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

struct LineCase {
  const char* line;
  const char* name;
  const char* value;
};

TEST(HeaderNameAndValue, SplitAtTheFirstColonAndTrimSpaces) {
  const LineCase cases[] = {
      {"Accept: */*", "Accept", "*/*"},
      {"  X-A  :  1 2  ", "X-A", "1 2"},
      {"Host: a:80", "Host", "a:80"},
      {"no colon here", "", ""},
      {":value", "", "value"},
      {"name:", "name", ""},
      {"", "", ""},
      {"\tTab:\tv", "\tTab", "\tv"},  // tabs are not spaces
  };
  for (const LineCase& c : cases) {
    EXPECT_EQ(HeaderName(c.line), Text(c.name)) << c.line;
    EXPECT_EQ(HeaderValue(c.line), Text(c.value)) << c.line;
  }
}

TEST(CapitalizeFirst, UpperCasesOnlyAnAsciiLetterAtTheStart) {
  const std::pair<const char*, const char*> cases[] = {
      {"accept", "Accept"}, {"Accept", "Accept"}, {"", ""},
      {"1abc", "1abc"},     {" a", " a"},         {"\xc4\xe3x", "\xc4\xe3x"},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(CapitalizeFirst(input), Text(expected));
}

TEST(NormalizeHeaderNames, CapitalisesEachWordOfTheNameOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"content-type: text/html", "Content-Type: text/html"},
      {"user-agent: my-agent-x", "User-Agent: my-agent-x"},
      {"x--double-: v", "X--Double-: v"},        // every '-' stays, trailing ones too
      {"a- b: c", "A- b: c"},                    // a word starting with a space stays lower
      {"accept:text/html", "Accept:text/html"},  // no space is added after the colon
      {"a:b-c:d", "A:b-c:d"},                    // only the part before the first colon
      {"connection: keep-alive", "Connection: keep-alive"},
      {"ab\xc4\xe3-cd: 1", "Ab\xc4\xe3-Cd: 1"},  // double-byte characters pass unchanged
      {"\r\nfoo\r\n\r\nbar: 1\r\n", "Bar: 1"},   // lines without a colon go, empty ones too
      {"a: 1\r\nb: 2", "A: 1\r\nB: 2"},
      {"no colon", ""},
      {"", ""},
  };
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(NormalizeHeaderNames(input), Text(expected)) << input;
  }
}

TEST(NormalizeHeaderNames, IsIdempotent) {
  const Text once = NormalizeHeaderNames("x-a-b: 1\r\nbad\r\n-c: 2\r\n");
  EXPECT_EQ(NormalizeHeaderNames(once), once);
}

struct CompletionCase {
  std::string headers;
  int methodIndex;
  std::string expected;
};

TEST(CompleteHeaders, AppendsTheMissingDefaultLinesInOrder) {
  constexpr char kAgent[] = "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
  const std::string defaults =
      std::string("\r\nAccept: */*\r\nReferer: http://h/p") + "\r\nAccept-Language: zh-cn" + kAgent;
  const std::string type = "\r\nContent-Type: application/x-www-form-urlencoded";
  const CompletionCase cases[] = {
      {"", 0, defaults},
      {"", 1, defaults + type},
      {"", 8, defaults},  // only the POST index adds the body type
      // Found in any letter case and anywhere in the text, even inside another name.
      {"user-agent: me", 0,
       "user-agent: me\r\nAccept: */*\r\nReferer: http://h/p\r\nAccept-Language: zh-cn"},
      {"X-Accept: 1", 0,
       std::string("X-Accept: 1\r\nReferer: http://h/p\r\nAccept-Language: zh-cn") + kAgent},
      {"CONTENT-TYPE: a\r\naccept:x\r\nreferer:y\r\naccept-language:z\r\nuser-agent:w", 1,
       "CONTENT-TYPE: a\r\naccept:x\r\nreferer:y\r\naccept-language:z\r\nuser-agent:w"},
  };
  for (const CompletionCase& c : cases) {
    Text headers(c.headers);
    CompleteHeaders(headers, c.methodIndex, "http://h/p");
    EXPECT_EQ(headers, Text(c.expected)) << c.headers;
  }
}

TEST(CompleteHeaders, LaterRowsSeeEarlierAdditions) {
  // The added "Accept: */*" line holds "Accept:", but not "Accept-Language:".
  Text headers;
  CompleteHeaders(headers, 0, "u");
  EXPECT_NE(headers.view().find("Accept-Language: zh-cn"), std::string_view::npos);
  // A Referer address that holds "User-Agent:" keeps the default agent out.
  Text other;
  CompleteHeaders(other, 0, "http://h/?User-Agent:x");
  EXPECT_EQ(other.view().find("Mozilla"), std::string_view::npos);
}

}  // namespace
}  // namespace zelmora
