// The metered regex engine. libstdc++'s matcher has no work limit and recurses once per character, so
// each operation runs with a step budget counted by its iterators (by the matcher's loop under libc++,
// text/libcxx_matcher.h), and one whose recursion could outgrow the caller's stack runs on a thread
// with a large stack, or is refused when even that is too small.
#include "text/regex_engine.h"

#include "text/libcxx_matcher.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <list>
#include <unordered_map>

namespace nimbo::text {

namespace {

// Work bound: about 256 matcher steps per unit of text, plus a floor for short texts. Ordinary
// patterns take a few steps per unit; a catastrophic backtracker exhausts it in a fraction of a second.
// The fuzz build sets a lower floor: its hostile patterns reach the bound, and the same error, sooner.
constexpr uint64_t kStepsPerUnit = 256;
#ifdef NIMBO_REGEX_STEP_FLOOR
constexpr uint64_t kStepFloor = NIMBO_REGEX_STEP_FLOOR;
#else
constexpr uint64_t kStepFloor = 300000;
#endif

// Stack bound: libstdc++'s matcher recurses for every unit its loops consume, about 320 bytes a unit,
// and about 430 more for every alternative it tries at each of them (measured on x86-64; 32-bit frames
// are smaller). The address sanitizer's frames are several times larger. The compiler recurses once
// per nesting level of the pattern.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kFrameScale = 5;
#else
constexpr size_t kFrameScale = 1;
#endif
constexpr uint64_t kStackPerUnit = 384 * kFrameScale;
constexpr uint64_t kStackPerUnitAndAlternative = 512 * kFrameScale;
constexpr uint64_t kCompileStackPerPatternUnit = 512 * kFrameScale;
#ifdef __EMSCRIPTEN__
// In the browser libc++'s compiler and matcher recurse on the browser's call stack as well, once per
// nesting level of the pattern: about 210 bytes a level to compile, 300 to match nested lookaheads
// (measured in node). A pattern nested deeper than half that stack holds at 512 a level is refused.
constexpr uint64_t kCallStackPerNesting = 512;
#endif
// The estimate may be short: work runs where it leaves half the stack untouched.
constexpr uint64_t kStackSafetyFactor = 2;

// Stack estimates are byte counts of texts and patterns of any length: on a 32-bit build a size_t
// product wraps round to a small number and sends a deep match onto a stack too small for it. So they
// are counted in 64 bits, and a product past even that stays at the largest count.
uint64_t saturatingProduct(uint64_t a, uint64_t b) {
  return a != 0 && b > UINT64_MAX / a ? UINT64_MAX : a * b;
}
uint64_t saturatingSum(uint64_t a, uint64_t b) {
  return b > UINT64_MAX - a ? UINT64_MAX : a + b;
}

// Past a bound the engine fails as a matcher's own limit does, described in libstdc++'s words for the
// code, so that the browser build (libc++, which words them otherwise) shows the same boxes.
class BoundExceeded : public std::regex_error {
 public:
  BoundExceeded(std::regex_constants::error_type code, const char* description)
      : std::regex_error(code), description_(description) {}
  const char* what() const noexcept override { return description_; }

 private:
  const char* description_;
};

[[noreturn, gnu::noinline, gnu::cold]] void tooComplex() {
  throw BoundExceeded(std::regex_constants::error_complexity,
                      "Complexity of regex match exceeded implementation limits");
}

[[noreturn, gnu::noinline, gnu::cold]] void tooDeep() {
  throw BoundExceeded(std::regex_constants::error_stack, "Insufficient memory to determine regex match");
}

struct WorkMeter {
  uint64_t stepsLeft;

  void step() {
    if (stepsLeft == 0) tooComplex();
    --stepsLeft;
  }
};

#if !defined(_LIBCPP_VERSION)
// A bidirectional iterator over the text that charges every move and every comparison to its meter.
// Backtracking moves the iterator; nested loops that can match nothing (`a**`, `(a*)*...`) do not, but
// the matcher compares positions at every turn of a loop, so they are charged as well.
class MeteredIterator {
 public:
  using iterator_category = std::bidirectional_iterator_tag;
  using value_type = wchar_t;
  using difference_type = std::ptrdiff_t;
  using pointer = const wchar_t*;
  using reference = const wchar_t&;

  MeteredIterator() = default;
  MeteredIterator(const wchar_t* at, WorkMeter* meter) : at_(at), meter_(meter) {}

  reference operator*() const { return *at_; }
  MeteredIterator& operator++() {
    meter_->step();
    ++at_;
    return *this;
  }
  MeteredIterator operator++(int) {
    MeteredIterator before = *this;
    ++*this;
    return before;
  }
  MeteredIterator& operator--() {
    meter_->step();
    --at_;
    return *this;
  }
  MeteredIterator operator--(int) {
    MeteredIterator before = *this;
    --*this;
    return before;
  }
  bool operator==(const MeteredIterator& other) const {
    if (meter_) meter_->step();
    return at_ == other.at_;
  }

  const wchar_t* base() const { return at_; }

 private:
  const wchar_t* at_ = nullptr;
  WorkMeter* meter_ = nullptr;
};

const wchar_t* address(const MeteredIterator& at) {
  return at.base();
}

// The text of one operation and its meter, which its iterators charge.
struct MeteredText {
  WorkMeter meter;
  MeteredIterator begin, end;

  explicit MeteredText(const RegexText& text)
      : meter{kStepsPerUnit * text.size() + kStepFloor},
        begin(text.data(), &meter),
        end(text.data() + text.size(), &meter) {}
  MeteredText(const MeteredText&) = delete;
  MeteredText& operator=(const MeteredText&) = delete;
};
#else
// The meter of the operation running now, which the matcher's loop charges (text/libcxx_matcher.h).
// Operations run one at a time on the game's one thread and never inside one another.
WorkMeter* runningMeter = nullptr;

const wchar_t* address(const wchar_t* at) {
  return at;
}

// The text of one operation, matched over plain pointers, and its meter, running while it lives.
struct MeteredText {
  WorkMeter meter;
  const wchar_t *begin, *end;

  explicit MeteredText(const RegexText& text)
      : meter{kStepsPerUnit * text.size() + kStepFloor}, begin(text.data()), end(text.data() + text.size()) {
    runningMeter = &meter;
  }
  ~MeteredText() { runningMeter = nullptr; }
  MeteredText(const MeteredText&) = delete;
  MeteredText& operator=(const MeteredText&) = delete;
};
#endif

// libstdc++'s compiler reads a repeat count or a back-reference's number into a `long` without an
// overflow check, and `long` is 32 bits in the DLL. A number past int's range is refused before the
// compiler reads it, with the error the compiler gives for any count or reference too large.
[[noreturn, gnu::cold]] void countTooLarge() {
  throw BoundExceeded(std::regex_constants::error_space,
                      "Number of NFA states exceeds limit. Please use shorter regex string, or use smaller "
                      "brace expression, or make _GLIBCXX_REGEX_STATE_LIMIT larger.");
}

[[noreturn, gnu::cold]] void referenceTooLarge() {
  throw BoundExceeded(std::regex_constants::error_backref,
                      "Back-reference index exceeds current sub-expression count.");
}

bool isDigit(wchar_t unit) {
  return unit >= L'0' && unit <= L'9';
}

// The index past the digits at `at`, calling `tooLarge` when their value passes int's range.
size_t skipNumber(const RegexText& pattern, size_t at, void (*tooLarge)()) {
  uint64_t value = 0;
  for (; at < pattern.size() && isDigit(pattern[at]); ++at) {
    value = value * 10 + static_cast<uint64_t>(pattern[at] - L'0');
    if (value > INT32_MAX) tooLarge();
  }
  return at;
}

// Reads the pattern as the compiler's scanner does: a back-reference is a backslash and a digit other
// than 0 outside a class; a count is a run of digits between braces outside a class.
void refuseHugeNumbers(const RegexText& pattern) {
  bool inClass = false, inBraces = false;
  for (size_t i = 0; i < pattern.size();) {
    wchar_t unit = pattern[i];
    if (unit == L'\\' && i + 1 < pattern.size()) {
      bool reference = !inClass && isDigit(pattern[i + 1]) && pattern[i + 1] != L'0';
      i = reference ? skipNumber(pattern, i + 1, referenceTooLarge) : i + 2;
    } else if (inClass) {
      inClass = unit != L']';
      ++i;
    } else if (inBraces && isDigit(unit)) {
      i = skipNumber(pattern, i, countTooLarge);
    } else {
      inClass = unit == L'[';
      inBraces = unit == L'{' || (inBraces && unit != L'}');
      ++i;
    }
  }
}

uint64_t alternativeCount(const RegexText& pattern) {
  uint64_t count = 0;
  for (wchar_t unit : pattern) count += unit == L'|' ? 1 : 0;
  return count;
}

#ifdef __EMSCRIPTEN__
// The deepest nesting of groups, counting every unescaped '(' (in a class too: an over-estimate is safe).
uint64_t nestingDepth(const RegexText& pattern) {
  uint64_t depth = 0, deepest = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'\\') {
      ++i;
    } else if (pattern[i] == L'(') {
      deepest = std::max(deepest, ++depth);
    } else if (pattern[i] == L')' && depth > 0) {
      --depth;
    }
  }
  return deepest;
}

void refuseTooDeep(const RegexText& pattern) {
  uint64_t needed =
      saturatingProduct(saturatingProduct(kCallStackPerNesting, nestingDepth(pattern)), kStackSafetyFactor);
  if (needed > platform::kCallStackBytes) tooDeep();
}
#endif

uint64_t stackEstimate(const CompiledRegex& regex, size_t textUnits) {
  return saturatingProduct(regex.stackBytesPerUnit, uint64_t{textUnits} + 1);
}

// Runs `job` where `stackBytes` of stack are sure to be there: on the caller's stack when that is
// enough, on a large-stack thread when that is, and nowhere past it (the stack error of the matcher).
// Whatever `job` throws is thrown here, on the caller's thread.
template <class Job>
void runWithStack(uint64_t stackBytes, Job&& job) {
  uint64_t needed = saturatingProduct(stackBytes, kStackSafetyFactor);
  if (needed <= platform::stackRoom()) {
    job();
    return;
  }
  if (needed > platform::kLargeStackBytes) tooDeep();
  std::exception_ptr failure;
  bool ran = platform::runOnLargeStack(static_cast<size_t>(needed), [&] {
    try {
      job();
    } catch (...) {
      failure = std::current_exception();
    }
  });
  if (!ran) tooDeep();
  if (failure) std::rethrow_exception(failure);
}

struct CacheKey {
  RegexText pattern;
  bool ignoreCase;
  bool operator==(const CacheKey&) const = default;
};

struct CacheKeyHash {
  size_t operator()(const CacheKey& key) const {
    return std::hash<RegexText>{}(key.pattern) * 2 + key.ignoreCase;
  }
};

// Least recently used first out; one thread uses it.
class RegexCache {
 public:
  std::shared_ptr<const CompiledRegex> find(const CacheKey& key) {
    auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->second;
  }

  void add(CacheKey key, std::shared_ptr<const CompiledRegex> regex) {
    if (entries_.size() == kRegexCacheCapacity) {
      index_.erase(entries_.back().first);
      entries_.pop_back();
    }
    entries_.emplace_front(std::move(key), std::move(regex));
    index_.emplace(entries_.front().first, entries_.begin());
  }

  size_t size() const { return entries_.size(); }

 private:
  using Entry = std::pair<CacheKey, std::shared_ptr<const CompiledRegex>>;
  std::list<Entry> entries_;
  std::unordered_map<CacheKey, std::list<Entry>::iterator, CacheKeyHash> index_;
};

RegexCache& regexCache() {
  static RegexCache cache;
  return cache;
}

}  // namespace

#if defined(_LIBCPP_VERSION)
void chargeRunningMeter() {
  if (runningMeter) runningMeter->step();
}
#endif

std::shared_ptr<const CompiledRegex> compileRegex(const RegexText& pattern, bool ignoreCase) {
  CacheKey key{pattern, ignoreCase};
  if (auto cached = regexCache().find(key)) return cached;
  auto flags = std::regex_constants::ECMAScript;
  if (ignoreCase) flags |= std::regex_constants::icase;
  std::shared_ptr<const CompiledRegex> regex;
  uint64_t stackPerUnit =
      saturatingSum(kStackPerUnit, saturatingProduct(kStackPerUnitAndAlternative, alternativeCount(pattern)));
  refuseHugeNumbers(pattern);
#ifdef __EMSCRIPTEN__
  refuseTooDeep(pattern);
#endif
  runWithStack(saturatingProduct(kCompileStackPerPatternUnit, pattern.size()), [&] {
    regex = std::make_shared<const CompiledRegex>(CompiledRegex{Regex(pattern, flags), stackPerUnit});
  });
  regexCache().add(std::move(key), regex);
  return regex;
}

bool searchRegex(const CompiledRegex& regex, const RegexText& source) {
  bool found = false;
  runWithStack(stackEstimate(regex, source.size()), [&] {
    MeteredText text(source);
    found = std::regex_search(text.begin, text.end, regex.regex);
  });
  return found;
}

std::vector<SubMatch> matchRegex(const CompiledRegex& regex, const RegexText& source) {
  std::vector<SubMatch> subMatches;
  runWithStack(stackEstimate(regex, source.size()), [&] {
    MeteredText text(source);
    std::match_results<decltype(text.begin)> results;
    if (!std::regex_match(text.begin, text.end, results, regex.regex)) return;
    for (const auto& group : results) {
      subMatches.push_back({static_cast<size_t>(address(group.first) - source.data()),
                            static_cast<size_t>(address(group.second) - address(group.first)),
                            group.matched});
    }
  });
  return subMatches;
}

RegexText replaceRegex(const CompiledRegex& regex, const RegexText& source, const RegexText& format) {
  RegexText result;
  runWithStack(stackEstimate(regex, source.size()), [&] {
    MeteredText text(source);
    std::regex_replace(std::back_inserter(result), text.begin, text.end, regex.regex, format);
  });
  return result;
}

size_t regexCacheSize() {
  return regexCache().size();
}

}  // namespace nimbo::text
