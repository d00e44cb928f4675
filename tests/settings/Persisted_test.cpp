#include "settings/Persisted.h"

#include <gtest/gtest.h>

namespace kestrova::settings {
namespace {

TEST(FormatSingle, SevenDigitsNoGroupingTheLocalesSeparator) {
  const struct {
    float value;
    const char* separator;
    const char* text;
  } cases[] = {
      {1815.0f, ".", "1815"},
      {-120.0f, ",", "-120"},
      {100.0f, ".", "100"},
      {-0.0f, ",", "0"},
      {0.5f, ",", "0,5"},
      {1234567.0f, ".", "1234567"},
      {1234.5678f, ",", "1234,568"},
      {12345678.0f, ".", "1.234568e+07"},
      {2.5f, "\xC2\xB7",
       "2\xC2\xB7"
       "5"},
      {1.5f, "", "1.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatSingle(c.value, c.separator), c.text);
}

TEST(ParseSingle, TakesWhatTheLocaleWritesAndNothingElse) {
  const struct {
    const char* text;
    const char* separator;
    float value;
  } good[] = {
      {"  -120\t", ",", -120.0f},
      {"+7", ".", 7.0f},
      {"0,5", ",", 0.5f},
      {",25", ",", 0.25f},
      {"1.5E3", ".", 1500.0f},
      {"25e-1", ".", 2.5f},
      {"3.402823e38", ".", 3.402823e38f},
      {"2\xC2\xB7"
       "5",
       "\xC2\xB7", 2.5f},
  };
  for (const auto& c : good) EXPECT_EQ(ParseSingle(c.text, c.separator), c.value) << c.text;
  for (const char* text : {"Error", "", "12abc", "1.5", "1 000", "--1", "1e", "1e+", "e5", ",",
                           "inf", "nan", "0x10", "1e39", "-1e39", "1e-50"}) {
    EXPECT_EQ(ParseSingle(text, ","), std::nullopt) << text;
  }
}

TEST(PersistedValues, NamesInTheirWritingOrder) {
  EXPECT_EQ(kSettingsKey, "HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova");
  const std::array<std::string_view, 8> expected = {
      "Top", "Left", "Euro", "Currency", "Image", "Description", "Tooltip", "Background"};
  EXPECT_EQ(kValueNames, expected);
}

}  // namespace
}  // namespace kestrova::settings
