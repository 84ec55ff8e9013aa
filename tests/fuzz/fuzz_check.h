// A failed check ends the run at once; libFuzzer then keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void check(bool holds, const char *what)
{
    if (holds) return;
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}
