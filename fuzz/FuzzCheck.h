#pragma once

// A broken invariant in a fuzz target: print it and abort, so that libFuzzer
// records the input as a crash.

#include <cstdio>
#include <cstdlib>

#define TAMSOR_FUZZ_CHECK(condition)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
