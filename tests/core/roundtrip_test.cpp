// Replays roundtrip_corpus.txt: each value is written as the expected amount text, and that
// text reads back to the same value (or, past fifteen digits, to a value written the same).
#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/convert.h"

namespace kestrova::core {
namespace {

struct CorpusLine {
  int number;
  double value;
  std::string text;
  bool exact;
};

std::vector<CorpusLine> LoadCorpus() {
  std::ifstream file(KESTROVA_ROUNDTRIP_CORPUS);
  std::vector<CorpusLine> corpus;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string value;
    std::string text;
    std::string mark;
    fields >> value >> text >> mark;
    CorpusLine entry{number, 0.0, text, mark == "="};
    const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), entry.value);
    if (ec != std::errc{} || ptr != value.data() + value.size() || (mark != "=" && mark != "~")) {
      ADD_FAILURE() << "corpus line " << number << " is malformed: " << line;
      continue;
    }
    corpus.push_back(entry);
  }
  return corpus;
}

TEST(RoundTrip, CorpusIsThere) {
  // A missing or truncated file must not pass as an empty replay.
  EXPECT_GT(LoadCorpus().size(), 300u);
}

TEST(RoundTrip, FormatThenReadGivesTheSameValue) {
  for (const CorpusLine& entry : LoadCorpus()) {
    SCOPED_TRACE("corpus line " + std::to_string(entry.number));
    const std::string text = FormatAmount(entry.value, ".");
    ASSERT_EQ(text, entry.text);

    const std::optional<double> back = ReadAmount(text);
    ASSERT_TRUE(back.has_value());
    if (entry.exact) {
      EXPECT_EQ(*back, entry.value);
    }
    // Written again, the value read back gives the very same text.
    EXPECT_EQ(FormatAmount(*back, "."), text);
  }
}

TEST(RoundTrip, CommaLocaleTextDiffersOnlyInItsSeparator) {
  for (const CorpusLine& entry : LoadCorpus()) {
    SCOPED_TRACE("corpus line " + std::to_string(entry.number));
    std::string expected = entry.text;
    for (char& c : expected)
      if (c == '.') c = ',';
    const std::string written = FormatAmount(entry.value, ",");
    ASSERT_EQ(written, expected);
    EXPECT_EQ(mReplaceInString(written, ",", "."), entry.text);
  }
}

}  // namespace
}  // namespace kestrova::core
