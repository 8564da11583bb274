// The work bound under libc++, the browser build's standard library. Its regex_search copies a text
// given by any iterator but a pointer and matches the copy over pointers, so a metered iterator never
// sees the matcher's steps; and its own limit (4096 states per unit, anew at every start position)
// grows with the square of the text. So the engine matches over pointers, and for MeteredTraits the
// matcher's loop for the ECMAScript grammar is given again here, the same loop of states, with one
// charge to the running operation's meter per state in place of libc++'s limit. Included once, by
// regex_engine.cpp, before anything there instantiates the matcher.
#pragma once

#if defined(_LIBCPP_VERSION)

#include <regex>
#include <vector>

#include "text/regex_engine.h"

namespace nimbo::text {

// Charges one step to the meter of the operation running now; throws the complexity error past its
// budget.
void chargeRunningMeter();

}  // namespace nimbo::text

template <>
template <>
inline bool std::basic_regex<wchar_t, nimbo::text::MeteredTraits>::__match_at_start_ecma(
    const wchar_t* first, const wchar_t* last, std::match_results<const wchar_t*>& results,
    std::regex_constants::match_flag_type flags, bool atFirst) const {
  if (!__start_) return false;
  std::sub_match<const wchar_t*> unmatched;
  unmatched.first = last;
  unmatched.second = last;
  unmatched.matched = false;
  std::vector<__state> states(1);
  states.back().__do_ = 0;
  states.back().__first_ = first;
  states.back().__current_ = first;
  states.back().__last_ = last;
  states.back().__sub_matches_.resize(mark_count(), unmatched);
  states.back().__loop_data_.resize(__loop_count());
  states.back().__node_ = __start_.get();
  states.back().__flags_ = flags;
  states.back().__at_first_ = atFirst;
  while (!states.empty()) {
    nimbo::text::chargeRunningMeter();
    __state& state = states.back();
    if (state.__node_) state.__node_->__exec(state);
    switch (state.__do_) {
      case __state::__end_state:
        if (((flags & std::regex_constants::match_not_null) && state.__current_ == first) ||
            ((flags & std::regex_constants::__full_match) && state.__current_ != last)) {
          states.pop_back();
          break;
        }
        results.__matches_[0].first = first;
        results.__matches_[0].second = state.__current_;
        results.__matches_[0].matched = true;
        for (size_t i = 0; i < state.__sub_matches_.size(); ++i)
          results.__matches_[i + 1] = state.__sub_matches_[i];
        return true;
      case __state::__accept_and_consume:
      case __state::__repeat:
      case __state::__accept_but_not_consume:
        break;
      case __state::__split: {
        __state other = state;
        state.__node_->__exec_split(true, state);
        other.__node_->__exec_split(false, other);
        states.push_back(std::move(other));
        break;
      }
      case __state::__reject:
        states.pop_back();
        break;
      default:
        throw std::regex_error(std::regex_constants::__re_err_unknown);
    }
  }
  return false;
}

#endif
