#include "settings/Persisted.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace kestrova::settings {
namespace {

TEST(FormatSingle, WindowPositionsAndFractions) {
  EXPECT_EQ(FormatSingle(1815.0f, "."), "1815");
  EXPECT_EQ(FormatSingle(-120.0f, ","), "-120");
  EXPECT_EQ(FormatSingle(100.0f, "."), "100");  // zeros of a whole number stay
  EXPECT_EQ(FormatSingle(0.0f, ","), "0");
  EXPECT_EQ(FormatSingle(-0.0f, ","), "0");
  EXPECT_EQ(FormatSingle(0.5f, ","), "0,5");
  EXPECT_EQ(FormatSingle(-1234.25f, "."), "-1234.25");
  EXPECT_EQ(FormatSingle(2.5f, "\xC2\xB7"), "2\xC2\xB7" "5");
  EXPECT_EQ(FormatSingle(1.0f / 3.0f, "."), "0.3333333");
  EXPECT_EQ(FormatSingle(1234567.0f, "."), "1234567");  // no grouping
  EXPECT_EQ(FormatSingle(1234.5678f, ","), "1234,568");  // seven digits, rounded
  EXPECT_EQ(FormatSingle(12345678.0f, "."), "1.234568e+07");
  EXPECT_EQ(FormatSingle(0.00001f, ","), "1e-05");
  EXPECT_EQ(FormatSingle(1.5f, ""), "1.5");  // no separator is no reason to lose the fraction
}

TEST(ParseSingle, AcceptsWhatTheLocaleWrites) {
  EXPECT_EQ(ParseSingle("1815", "."), 1815.0f);
  EXPECT_EQ(ParseSingle("  -120\t", ","), -120.0f);
  EXPECT_EQ(ParseSingle("+7", "."), 7.0f);
  EXPECT_EQ(ParseSingle("0,5", ","), 0.5f);
  EXPECT_EQ(ParseSingle(",25", ","), 0.25f);
  EXPECT_EQ(ParseSingle("3,", ","), 3.0f);
  EXPECT_EQ(ParseSingle("1.5E3", "."), 1500.0f);
  EXPECT_EQ(ParseSingle("25e-1", "."), 2.5f);
  EXPECT_EQ(ParseSingle("1,234568e+07", ","), 12345680.0f);
  EXPECT_EQ(ParseSingle("3.402823e38", "."), 3.402823e38f);
  EXPECT_EQ(ParseSingle("2\xC2\xB7" "5", "\xC2\xB7"), 2.5f);
}

TEST(ParseSingle, RejectsEverythingElse) {
  for (const char* text : {"Error", "", "   ", "12abc", "1.5", "1 000", "1,000,5", "--1", "+-1",
                           "- 1", "1e", "1e+", "e5", ",", "inf", "-infinity", "nan", "0x10",
                           "1e39", "-1e39", "1e-50", "1,5 5", "\xD9\xA3"}) {
    EXPECT_EQ(ParseSingle(text, ","), std::nullopt) << text;
  }
  // With a point as separator the comma is a stranger.
  EXPECT_EQ(ParseSingle("0,5", "."), std::nullopt);
  EXPECT_EQ(ParseSingle("40,34", "."), std::nullopt);
}

TEST(PersistedValues, EveryTwipPositionSurvivesTheText) {
  for (const char* separator : {".", ","}) {
    for (int twips = -40000; twips <= 40000; twips += 7) {
      const float position = static_cast<float>(twips);
      const auto back = ParseSingle(FormatSingle(position, separator), separator);
      ASSERT_TRUE(back) << twips;
      EXPECT_EQ(*back, position);
    }
    for (float fraction : {0.25f, -17.5f, 1234.125f, 99999.5f}) {
      EXPECT_EQ(ParseSingle(FormatSingle(fraction, separator), separator), fraction);
    }
  }
}

TEST(PersistedValues, NamesInTheirWritingOrder) {
  EXPECT_EQ(kSettingsKey, "HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova");
  const std::array<std::string_view, 8> expected = {"Top",   "Left",        "Euro",    "Currency",
                                                    "Image", "Description", "Tooltip", "Background"};
  EXPECT_EQ(kValueNames, expected);
}

}  // namespace
}  // namespace kestrova::settings
