// How the fuzzer reports a broken invariant: a message on stderr and a trap,
// which libFuzzer records as a crash together with the input that caused it.
#pragma once

#include <cstdio>

#define FUZZ_CHECK(condition, what)                                                   \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "broken invariant: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            __builtin_trap();                                                         \
        }                                                                             \
    } while (false)
