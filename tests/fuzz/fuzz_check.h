#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property stops the run with a message, as a crash would: libFuzzer then keeps the
// input, and the corpus replay fails on it.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)
