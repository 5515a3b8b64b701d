#pragma once
#include <cstdio>
#include <cstdlib>

// A property that does not hold aborts: libFuzzer keeps the input as a crash, and the
// corpus replay fails.
#define VERIFIE(condition)                                                              \
  do {                                                                                  \
    if (!(condition)) {                                                                 \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (false)
