// Any records after a small biography as the base, framed with their right
// lengths and checksums so that they reach the parts that read and replay
// them: no crash, the document within its tables, and a history that
// undoes and redoes back to the same document.
#include <algorithm>
#include <cstdint>
#include <string>

#include "document/core/biography_reader.h"
#include "document/core/biography_writer.h"
#include "document/core/journal_replay.h"

#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string journal = journalStart("C:\\a.xml", nullptr,
                                       "<biography_data><categories>\"A\",\"B\"</categories><fact1><title>x</title>"
                                       "<category>A</category></fact1><fact2></fact2></biography_data>");
    // Each record: a byte for its length, then that many bytes.
    for (std::size_t at = 0; at < size;) {
        const std::string payload(reinterpret_cast<const char *>(data + at + 1), std::min<std::size_t>(data[at], size - at - 1));
        at += 1 + payload.size();
        const uint32_t head[2] = {static_cast<uint32_t>(payload.size()), journalChecksum(payload)};
        for (uint32_t n : head)
            for (int i = 0; i < 4; ++i) journal += static_cast<char>(n >> (8 * i));
        journal += payload;
    }
    const JournalContents contents = readJournal(journal);
    std::string problem;
    const auto load = [](const std::string &bytes) { loadBiographyBytes(bytes); };
    if (!contents.damage.empty() || !replayJournal(contents, true, load, problem)) return 0;
    const Biography &d = BiographyDocument;
    check(d.entryCount <= MaxEntries && d.categoryCount <= MaxCategories, "counts outside the tables");
    const std::string replayed = biographyFileBytes(d);
    int undone = 0;
    for (; canUndo(); ++undone) undoStep();
    for (; undone > 0; --undone) redoStep();
    check(biographyFileBytes(d) == replayed, "undo and redo do not come back to the replayed document");
    return 0;
}
