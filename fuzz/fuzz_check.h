#pragma once

// What every fuzz target uses: the data provider, the texts it hands out, and the check.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A broken invariant is a finding: it aborts, so libFuzzer keeps the input as a crash.
[[noreturn]] inline void FuzzInvariantFailed(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, condition);
    std::abort();
}
#define FUZZ_CHECK(condition) \
    ((condition) ? void() : FuzzInvariantFailed(__FILE__, __LINE__, #condition))
