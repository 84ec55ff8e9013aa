// The elements of a fact block in the order the writer puts them, made
// from the entry's field list by each field's place in the block.
#pragma once

#include <array>

#include "document/core/biography_document.h"

using FactElement = EntryField;

namespace detail {
constexpr std::array<FactElement, EntryFieldCount> inPlaceOrder()
{
    std::array<FactElement, EntryFieldCount> ordered{};
    for (const EntryField &field : EntryFields) ordered[field.placeInFact] = field;
    return ordered;
}
} // namespace detail

inline constexpr std::array<FactElement, EntryFieldCount> FactElements = detail::inPlaceOrder();
constexpr int FactElementCount = EntryFieldCount;

namespace detail {
constexpr bool everyPlaceTakenOnce()
{
    bool taken[EntryFieldCount] = {};
    for (const EntryField &field : EntryFields) {
        if (field.placeInFact < 0 || field.placeInFact >= EntryFieldCount || taken[field.placeInFact])
            return false;
        taken[field.placeInFact] = true;
    }
    return true;
}
} // namespace detail
static_assert(detail::everyPlaceTakenOnce(), "two fields share a place in the fact block");
