#pragma once
// A check that turns a broken promise of the code under test into a finding.
#include <cstdio>
#include <cstdlib>

// Aborts with the condition's text: libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(cond)                                                                 \
    do {                                                                                 \
        if (!(cond)) {                                                                   \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                \
        }                                                                                \
    } while (0)
