#include "document/core/letter_case.h"

namespace {

LetterCase fromRuns()
{
    LetterCase table;
    for (size_t c = 0; c < table.small.size(); ++c) table.small[c] = table.capital[c] = static_cast<char16_t>(c);
    for (size_t r = 0; r < LetterCaseRunCount; ++r) {
        const LetterCaseRun &run = LetterCaseRuns[r];
        for (size_t c = run.first; c <= run.last; c += run.step) {
            const auto small = static_cast<char16_t>(static_cast<int>(c) + run.toSmall);
            table.small[c] = small;
            table.capital[small] = static_cast<char16_t>(c);
        }
    }
    return table;
}

} // namespace

const LetterCase &letterCase()
{
    static const LetterCase table = fromRuns();
    return table;
}
