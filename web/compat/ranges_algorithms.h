// The page's build only: emscripten 3.1.6 ships LLVM 14's libc++, which has no
// ranges algorithms yet, and the rules use std::ranges::any_of. Supplying it
// here lets game/ compile for the browser unchanged; a libc++ that has the
// algorithm (version 15 and later) keeps its own.
#pragma once

#include <algorithm>
#include <iterator>
#include <version>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 15000
namespace std::ranges {

struct AnyOfFunction {
    template <class Range, class Predicate>
    constexpr bool operator()(Range&& range, Predicate predicate) const {
        return std::any_of(std::begin(range), std::end(range), std::move(predicate));
    }
};

inline constexpr AnyOfFunction any_of{};

}  // namespace std::ranges
#endif
