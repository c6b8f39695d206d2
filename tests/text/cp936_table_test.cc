#include "text/cp936_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace zelmora {
namespace {

// The published best-fit table of code page 936, read as bytes and split on
// LF only; ';' starts a comment; each DBCSTABLE belongs to the next lead
// byte of the DBCSRANGE.
struct BestFitFile {
  std::map<unsigned, unsigned> single;  // byte -> Unicode
  std::map<unsigned, unsigned> pairs;   // lead << 8 | trail -> Unicode
  std::map<unsigned, unsigned> wide;    // Unicode -> bytes
  std::vector<unsigned> lead_bytes;
  std::size_t declared_single = 0, declared_pairs = 0, declared_wide = 0;
};

BestFitFile ReadBestFitFile(std::istream& in) {
  BestFitFile file;
  std::string line, section;
  std::size_t next_lead = 0;
  unsigned lead = 0;
  while (std::getline(in, line, '\n')) {
    std::istringstream fields(line.substr(0, line.find(';')));
    std::string first, second;
    if (!(fields >> first)) continue;
    fields >> second;
    if (first == "MBTABLE" || first == "WCTABLE" || first == "DBCSRANGE") {
      section = first;
      if (first == "MBTABLE") file.declared_single = std::stoul(second);
      if (first == "WCTABLE") file.declared_wide = std::stoul(second);
    } else if (first == "DBCSTABLE") {
      section = first;
      lead = file.lead_bytes.at(next_lead++);
      file.declared_pairs += std::stoul(second);
    } else if (first.rfind("0x", 0) == 0) {
      const unsigned key = std::stoul(first, nullptr, 16), value = std::stoul(second, nullptr, 16);
      if (section == "MBTABLE") file.single[key] = value;
      if (section == "DBCSTABLE") file.pairs[lead << 8 | key] = value;
      if (section == "WCTABLE") file.wide[key] = value;
      if (section == "DBCSRANGE") {
        for (unsigned b = key; b <= value; ++b) file.lead_bytes.push_back(b);
      }
    }
  }
  return file;
}

class BestFitFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(ZELMORA_BESTFIT936_PATH, std::ios::binary);
    if (!in) GTEST_SKIP() << "no best-fit table at " << ZELMORA_BESTFIT936_PATH;
    file_ = ReadBestFitFile(in);
    ASSERT_EQ(file_.single.size(), file_.declared_single);
    ASSERT_EQ(file_.pairs.size(), file_.declared_pairs);
    ASSERT_EQ(file_.wide.size(), file_.declared_wide);
  }
  BestFitFile file_;
};

// Unicode -> code page: every unit is what WCTABLE says, and a unit that
// WCTABLE does not list gives the default character.
TEST_F(BestFitFileTest, EncodingMatchesEveryUnit) {
  for (unsigned unit = 0; unit < 0x10000; ++unit) {
    const auto entry = file_.wide.find(unit);
    const unsigned expected = entry == file_.wide.end() ? unsigned{'?'} : entry->second;
    ASSERT_EQ(cp936::EncodeUnit(static_cast<char16_t>(unit)), expected) << std::hex << unit;
  }
}

// Code page -> Unicode: every byte and every pair is what MBTABLE and the
// DBCSTABLEs say, and nothing else is a character.
TEST_F(BestFitFileTest, DecodingMatchesEveryByteAndPair) {
  const std::vector<unsigned>& leads = file_.lead_bytes;
  for (unsigned byte = 0; byte < 0x100; ++byte) {
    const bool lead = std::find(leads.begin(), leads.end(), byte) != leads.end();
    ASSERT_EQ(cp936::IsLeadByte(byte), lead) << std::hex << byte;
    const auto entry = file_.single.find(byte);
    ASSERT_EQ(cp936::DecodeSingle(static_cast<std::uint8_t>(byte)),
              entry == file_.single.end() ? cp936::kNoChar : entry->second)
        << std::hex << byte;
  }
  for (const unsigned lead : leads) {
    for (unsigned trail = 0; trail < 0x100; ++trail) {
      const auto entry = file_.pairs.find(lead << 8 | trail);
      ASSERT_EQ(
          cp936::DecodePair(static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)),
          entry == file_.pairs.end() ? cp936::kNoChar : entry->second)
          << std::hex << lead << ' ' << trail;
    }
  }
}

// Without the data file: each character of the code page encodes back to
// itself, and every encoded value is a byte or a lead and trail.
TEST(Cp936Table, DecodingAndEncodingAgree) {
  for (unsigned byte = 0; byte < 0x100; ++byte) {
    const std::uint16_t code = cp936::DecodeSingle(static_cast<std::uint8_t>(byte));
    ASSERT_EQ(code == cp936::kNoChar, cp936::IsLeadByte(byte)) << std::hex << byte;
    if (code != cp936::kNoChar) {
      ASSERT_EQ(cp936::EncodeUnit(code), byte) << std::hex << byte;
    }
  }
  for (unsigned lead = cp936::kLeadFirst; lead <= cp936::kLeadLast; ++lead) {
    for (unsigned trail = 0; trail < 0x100; ++trail) {
      const std::uint16_t code =
          cp936::DecodePair(static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail));
      if (code != cp936::kNoChar) {
        ASSERT_EQ(cp936::EncodeUnit(code), lead << 8 | trail);
      }
    }
  }
  for (unsigned unit = 0; unit < 0x10000; ++unit) {
    const std::uint16_t bytes = cp936::EncodeUnit(static_cast<char16_t>(unit));
    if (bytes < 0x100) {
      ASSERT_FALSE(cp936::IsLeadByte(bytes)) << std::hex << unit;
    } else {
      ASSERT_NE(cp936::DecodePair(static_cast<std::uint8_t>(bytes >> 8),
                                  static_cast<std::uint8_t>(bytes & 0xFF)),
                cp936::kNoChar)
          << std::hex << unit;
    }
  }
}

}  // namespace
}  // namespace zelmora
