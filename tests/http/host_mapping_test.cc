#include "http/host_mapping.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

TEST(ParseHostMapping, ReadsFourFieldsWithBracketedIpv6Hosts) {
  struct Case {
    const char* text;
    std::optional<std::vector<std::string>> fields;
  };
  const Case cases[] = {
      {"site.example:443:127.0.0.1:8443",
       std::vector<std::string>{"site.example", "443", "127.0.0.1", "8443"}},
      {"::127.0.0.1:", std::vector<std::string>{"", "", "127.0.0.1", ""}},
      {"[::1]:80:[::1]:8080", std::vector<std::string>{"[::1]", "80", "[::1]", "8080"}},
      {":::", std::vector<std::string>{"", "", "", ""}},
      {"a:80:b", std::nullopt},      // three fields
      {"a:80:b:1:2", std::nullopt},  // five fields
      {"a:http:b:1", std::nullopt},  // a port is a number
      {"a:0:b:1", std::nullopt},
      {"a:65536:b:1", std::nullopt},
      {"a:+1:b:1", std::nullopt},
      {"a b:80:b:1", std::nullopt},   // no spaces
      {"a,b:80:b:1", std::nullopt},   // no commas
      {"a:80:b\n:1", std::nullopt},   // no control characters
      {"[::1:80:b:1", std::nullopt},  // unclosed bracket
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<HostMapping> mapping = ParseHostMapping(c.text);
    ASSERT_EQ(mapping.has_value(), c.fields.has_value()) << c.text;
    if (!mapping) continue;
    EXPECT_EQ(std::vector<std::string>(
                  {mapping->host, mapping->port, mapping->connectHost, mapping->connectPort}),
              *c.fields)
        << c.text;
    EXPECT_EQ(FormatHostMapping(*mapping), c.text);
  }
}

TEST(HostMappings, AreReplacedAsAWhole) {
  const auto before = HostMappings();
  SetHostMappings({{"a", "1", "b", "2"}});
  const auto during = HostMappings();
  SetHostMappings({});
  ASSERT_EQ(during->size(), 1u);
  EXPECT_EQ(during->front().connectHost, "b");  // a reader keeps what it read
  EXPECT_TRUE(HostMappings()->empty());
  EXPECT_TRUE(before->empty());
}

}  // namespace
}  // namespace zelmora
