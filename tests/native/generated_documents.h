// Biography files made up from a seed, for the differential test and the
// benchmark. The same seed always gives the same bytes.
#pragma once

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "document/core/biography_document.h"

namespace generated {

// Fact numbers used in generated files are either at most HighestFactNumber
// or one of LargeFactNumbers (ascending, all above HighestFactNumber), so
// a reader that asks for each number in turn can be told which to ask for.
constexpr int HighestFactNumber = 5000;
extern const std::vector<std::string> LargeFactNumbers;

// A document with `entries` entries whose details are about `detailBytes`
// long each, spread over a handful of categories, all listed.
std::unique_ptr<Biography> randomDocument(std::mt19937 &rng, int entries, size_t detailBytes);

// The writer's bytes for a small random document.
std::string wellFormedFile(std::mt19937 &rng);

// Bytes that look more or less like a biography file but break the layout
// in every way we could think of: reordered, repeated, missing and unclosed
// tags, tags inside values, attributes, empty-element tags, closing tags
// before opening ones, overlapping facts, gaps, odd fact numbers and junk.
std::string awkwardFile(std::mt19937 &rng);

// Writer output with small random damage: inserted tags, cut bytes,
// duplicated stretches, swapped fact blocks.
std::string damagedFile(std::mt19937 &rng);

// Files with more facts or more listed categories than the tables take.
std::string oversizedFile(std::mt19937 &rng);

// A mix of all the kinds above.
std::vector<std::string> sampleFiles(unsigned seed, int count);

} // namespace generated
