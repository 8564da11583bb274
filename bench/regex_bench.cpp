// The regex routines through the jump tables against the standard library on the same data with a
// regex compiled once: what the cache, the conversions and the work meter cost. The ratios are
// printed as counters; the targets are at most 1.3.
#include <benchmark/benchmark.h>

#include <regex>
#include <string>

#include "bench/bench_frame.h"
#include "frame/routines.h"
#include "record/regex_text.h"

namespace {

using bench::BenchFrame;
using nimbo::Text;

// A 20-unit pattern that does not occur, so the search walks the whole source.
const nimbo::Char kPattern[] = NIMBO_TEXT("([a-z]+)@([0-9]+)\\.x");
const nimbo::Char kFormat[] = NIMBO_TEXT("<$1>");

Text sourceOf(size_t units) {
  const Text words = NIMBO_TEXT("lorem ipsum dolor sit amet 42, consectetur adipiscing elit; ");
  Text source;
  while (source.size() < units) source += words;
  source.resize(units);
  return source;
}

void BM_SearchThroughJumpTable(benchmark::State& state) {
  BenchFrame frame;
  Text source = sourceOf(1000);
  for (auto _ : state) {
    benchmark::DoNotOptimize(nimbo::frame::conditionRoutines[4](
        frame.rd, reinterpret_cast<voValue>(source.c_str()), reinterpret_cast<voValue>(kPattern)));
  }
}
BENCHMARK(BM_SearchThroughJumpTable);

void BM_SearchPrecompiled(benchmark::State& state) {
  std::wstring source = nimbo::text::toRegexText(sourceOf(1000).c_str());
  std::wregex regex(nimbo::text::toRegexText(kPattern), std::regex_constants::ECMAScript);
  for (auto _ : state) benchmark::DoNotOptimize(std::regex_search(source, regex));
}
BENCHMARK(BM_SearchPrecompiled);

void BM_ReplaceThroughJumpTable(benchmark::State& state) {
  BenchFrame frame;
  Text text = sourceOf(20000);
  nimbo::frame::actionRoutines[0](frame.rd, reinterpret_cast<voValue>(text.c_str()), 0);
  const nimbo::Char pattern[] = NIMBO_TEXT("([a-z]+)um");
  bench::expressionParameters = {reinterpret_cast<voValue>(pattern), reinterpret_cast<voValue>(kFormat)};
  for (auto _ : state) benchmark::DoNotOptimize(nimbo::frame::expressionRoutines[1](frame.rd, 0));
}
BENCHMARK(BM_ReplaceThroughJumpTable);

void BM_ReplacePrecompiled(benchmark::State& state) {
  std::wstring text = nimbo::text::toRegexText(sourceOf(20000).c_str());
  std::wregex regex(L"([a-z]+)um", std::regex_constants::ECMAScript);
  std::wstring format = nimbo::text::toRegexText(kFormat);
  for (auto _ : state) benchmark::DoNotOptimize(std::regex_replace(text, regex, format));
}
BENCHMARK(BM_ReplacePrecompiled);

}  // namespace

// The hostile cases: each must end, in a match or in the regex-error path, well inside a second.

void BM_ExactMatchAlternationLoop100000(benchmark::State& state) {
  BenchFrame frame;
  Text source(100000, NIMBO_TEXT('a'));
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        nimbo::frame::conditionRoutines[5](frame.rd, reinterpret_cast<voValue>(source.c_str()),
                                           reinterpret_cast<voValue>(NIMBO_TEXT("(a|b)*"))));
  }
}
BENCHMARK(BM_ExactMatchAlternationLoop100000)->Unit(benchmark::kMillisecond);

void BM_SearchNestedQuantifiers40(benchmark::State& state) {
  BenchFrame frame;
  Text source(40, NIMBO_TEXT('a'));
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        nimbo::frame::conditionRoutines[4](frame.rd, reinterpret_cast<voValue>(source.c_str()),
                                           reinterpret_cast<voValue>(NIMBO_TEXT("(a+)+b"))));
  }
}
BENCHMARK(BM_SearchNestedQuantifiers40)->Unit(benchmark::kMillisecond);

void BM_SearchCatastrophic5000(benchmark::State& state) {
  BenchFrame frame;
  Text source(5000, NIMBO_TEXT('x'));
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        nimbo::frame::conditionRoutines[4](frame.rd, reinterpret_cast<voValue>(source.c_str()),
                                           reinterpret_cast<voValue>(NIMBO_TEXT("(x+x+)+y"))));
  }
}
BENCHMARK(BM_SearchCatastrophic5000)->Unit(benchmark::kMillisecond);

void BM_Replace200000(benchmark::State& state) {
  BenchFrame frame;
  Text text = sourceOf(200000);
  nimbo::frame::actionRoutines[0](frame.rd, reinterpret_cast<voValue>(text.c_str()), 0);
  const nimbo::Char pattern[] = NIMBO_TEXT("(\\w+) (\\w+)");
  const nimbo::Char format[] = NIMBO_TEXT("$2 $1");
  bench::expressionParameters = {reinterpret_cast<voValue>(pattern), reinterpret_cast<voValue>(format)};
  for (auto _ : state) benchmark::DoNotOptimize(nimbo::frame::expressionRoutines[1](frame.rd, 0));
}
BENCHMARK(BM_Replace200000)->Unit(benchmark::kMillisecond);
