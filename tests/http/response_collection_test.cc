#include "http/response_collection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_request_object.h"

namespace zelmora {
namespace {

using ::testing::ElementsAre;
using testing::FakeRequestObject;

TEST(CollectReturnedCookies, TakesTheFirstSegmentOfEachExactSetCookieLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"Set-Cookie: a=1; path=/\r\n", "a=1"},
      {"Set-Cookie: b=2\r\n", "b=2"},
      {"Set-Cookie: a=1; path=/\r\nX: y\r\nSet-Cookie: b=2\r\n", "a=1; b=2"},
      {"set-cookie: a=1\r\nSet-Cookie:a=1\r\n", ""},  // wrong case, no space: passed over
      {"Content-Type: text/html\r\n", ""},
      {"", ""},
      {"Set-Cookie: ; path=/\r\nSet-Cookie: b=2\r\n", "; b=2"},
      {"Set-Cookie:  c=3 ;x\r\n", "c=3"},
      {"Set-Cookie: d=4 Set-Cookie: e\r\n", "d=4  e"},  // every prefix goes without a ';'
      {"Set-Cookie: \xc4\xe3=1; p\r\n", "\xc4\xe3=1"},
  };
  for (const auto& [headers, cookies] : cases) {
    EXPECT_EQ(CollectReturnedCookies(headers), Text(cookies)) << headers;
  }
}

class CollectResponseTest : public ::testing::Test {
 protected:
  ByteSet Collect(Text* sent, bool merge) {
    return CollectResponse(object_, {.returnedHeaders = &headers_,
                                     .statusCode = &status_,
                                     .returnedCookies = &cookies_,
                                     .sentCookies = sent,
                                     .autoMergeCookies = merge});
  }

  std::shared_ptr<FakeRequestObject> fake_ = std::make_shared<FakeRequestObject>();
  AutomationObject object_{fake_};
  Text headers_ = "old";
  int status_ = 77;
  Text cookies_ = "old";
};

TEST_F(CollectResponseTest, ReadsBodyHeadersStatusAndStatusTextInOrder) {
  fake_->headers = Text("Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n");
  EXPECT_EQ(AsChars(Collect(nullptr, true)), "body");
  EXPECT_THAT(fake_->calls,
              ElementsAre("ResponseBody", "GetAllResponseHeaders", "Status", "StatusText"));
  EXPECT_EQ(headers_, *fake_->headers);
  EXPECT_EQ(status_, 200);
  EXPECT_EQ(cookies_, Text("a=1; b=2"));  // no merge without sent cookies
}

TEST_F(CollectResponseTest, FailedReadsGiveEmptyValues) {
  fake_->succeed = false;
  Text sent = "s=1";
  EXPECT_TRUE(Collect(&sent, true).empty());
  EXPECT_EQ(headers_, Text());
  EXPECT_EQ(status_, 0);
  EXPECT_EQ(cookies_, Text("s=1"));  // the merge of the sent cookies with nothing
}

TEST_F(CollectResponseTest, MergesOnlyWhenAskedAndCookiesWereSent) {
  fake_->headers = Text("Set-Cookie: b=9\r\n");
  Text sent = "a=1; b=2";
  Collect(&sent, false);
  EXPECT_EQ(cookies_, Text("b=9"));
  EXPECT_EQ(sent, Text("a=1; b=2"));
  Collect(&sent, true);
  EXPECT_EQ(cookies_, Text("b=9; a=1"));
  EXPECT_EQ(sent, Text("b=9; a=1"));
}

}  // namespace
}  // namespace zelmora
