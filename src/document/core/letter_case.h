// Letter case as Windows maps it (CharLowerBuffW and CharUpperBuffW) over
// the Basic Multilingual Plane: pairs of a capital and a small letter, each
// the other's only other case. Every other character, and every character
// beyond the plane, has no other case. The pairs are read from Windows once
// (scripts/make-letter-case-table), so that text in any script is matched
// the same on every system and in the native tests.
#pragma once

#include <array>
#include <cstddef>

// The capitals from `first` to `last`, `step` apart, each with its small
// letter `toSmall` further on.
struct LetterCaseRun {
    char16_t first, last;
    unsigned char step;
    int toSmall;
};
extern const LetterCaseRun LetterCaseRuns[];
extern const size_t LetterCaseRunCount;

// Every character of the plane as a small letter and as a capital; a
// character of no pair is itself in both.
struct LetterCase {
    std::array<char16_t, 0x10000> small, capital;
};

// Made from the runs on first use.
const LetterCase &letterCase();
