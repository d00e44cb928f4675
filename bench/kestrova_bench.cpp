// Costs of reading, writing and a full conversion, beside the standard library's own
// from_chars/to_chars on the same values. The aim: a whole conversion costs at most twice
// the bare from_chars + to_chars pair.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/convert.h"
#include "core/currency.h"

namespace {

using kestrova::core::CountryAt;
using kestrova::core::kCountryCount;

constexpr std::string_view kConvertedText = "12345.67";

struct Samples {
  std::vector<double> values;
  std::vector<std::string> texts;
};

// Amounts in whole hundredths from a cent to a hundred billion, as typed: fixed seed.
const Samples& SampleSet() {
  static const Samples samples = [] {
    Samples s;
    std::mt19937_64 random(20020101);
    std::uniform_int_distribution<int> digits(1, 13);
    for (int i = 0; i < 1024; ++i) {
      long long limit = 1;
      for (int d = digits(random); d > 0; --d) limit *= 10;
      const long long hundredths = std::uniform_int_distribution<long long>(1, limit)(random);
      const double value = static_cast<double>(hundredths) / 100.0;
      char buffer[64];
      const auto end =
          std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2).ptr;
      s.values.push_back(value);
      s.texts.emplace_back(buffer, end);
    }
    return s;
  }();
  return samples;
}

void ReadAmount(benchmark::State& state) {
  const auto& texts = SampleSet().texts;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kestrova::core::ReadAmount(texts[i++ & 1023]));
  }
}

void FromChars(benchmark::State& state) {
  const auto& texts = SampleSet().texts;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& text = texts[i++ & 1023];
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    benchmark::DoNotOptimize(value);
  }
}

void FormatAmount(benchmark::State& state) {
  const auto& values = SampleSet().values;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kestrova::core::FormatAmount(values[i++ & 1023], "."));
  }
}

void ToChars(benchmark::State& state) {
  const auto& values = SampleSet().values;
  std::size_t i = 0;
  for (auto _ : state) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, values[i++ & 1023]);
    benchmark::DoNotOptimize(result.ptr);
    benchmark::DoNotOptimize(buffer);
  }
}

void Convert(benchmark::State& state) {
  const auto* row = CountryAt(static_cast<int>(state.range(0)));
  std::string_view source = kConvertedText;
  for (auto _ : state) {
    benchmark::DoNotOptimize(source);
    benchmark::DoNotOptimize(
        kestrova::core::Convert(source, "0", row, kestrova::core::Operation::EuroToNational, "."));
  }
  state.SetLabel(std::string(row->caption));
}

// The baseline of one conversion: read the same text, multiply, write the product.
void FromCharsToChars(benchmark::State& state) {
  const auto* row = CountryAt(static_cast<int>(state.range(0)));
  std::string_view source = kConvertedText;
  for (auto _ : state) {
    benchmark::DoNotOptimize(source);
    double value = 0.0;
    std::from_chars(source.data(), source.data() + source.size(), value);
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value * row->rate);
    benchmark::DoNotOptimize(result.ptr);
    benchmark::DoNotOptimize(buffer);
  }
  state.SetLabel(std::string(row->caption));
}

BENCHMARK(ReadAmount);
BENCHMARK(FromChars);
BENCHMARK(FormatAmount);
BENCHMARK(ToChars);
BENCHMARK(Convert)->DenseRange(1, kCountryCount);
BENCHMARK(FromCharsToChars)->DenseRange(1, kCountryCount);

// Keeps each benchmark's CPU time per iteration for the ratios printed at the end; CPU time
// rather than wall time, since the machine is shared with builds.
// With repetitions the median stands for the benchmark.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  using ConsoleReporter::ConsoleReporter;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Iteration && medians_.count(run.run_name.str()) == 0) {
        times_[run.run_name.str()] = run.GetAdjustedCPUTime();
      } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        times_[run.run_name.str()] = run.GetAdjustedCPUTime();
        medians_.insert(run.run_name.str());
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  double Time(const std::string& name) const {
    const auto found = times_.find(name);
    return found == times_.end() ? 0.0 : found->second;
  }

 private:
  std::map<std::string, double> times_;
  std::set<std::string> medians_;
};

void PrintRatio(const char* what, double measured, double baseline) {
  if (measured > 0.0 && baseline > 0.0) {
    std::printf("%-34s %.2fx the baseline\n", what, measured / baseline);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RecordingReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n");
  PrintRatio("ReadAmount / from_chars:", reporter.Time("ReadAmount"), reporter.Time("FromChars"));
  PrintRatio("FormatAmount / to_chars:", reporter.Time("FormatAmount"), reporter.Time("ToChars"));
  double convert = 0.0;
  double baseline = 0.0;
  double worst = 0.0;
  for (int row = 1; row <= kCountryCount; ++row) {
    const double c = reporter.Time("Convert/" + std::to_string(row));
    const double b = reporter.Time("FromCharsToChars/" + std::to_string(row));
    convert += c;
    baseline += b;
    if (b > 0.0 && c / b > worst) worst = c / b;
  }
  PrintRatio("Convert / (from_chars + to_chars):", convert, baseline);
  if (worst > 0.0) std::printf("%-34s %.2fx the baseline\n", "worst single row:", worst);
  return 0;
}
