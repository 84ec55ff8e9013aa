// Any records, framed with their right lengths and checksums so that they
// get past the checksum to the parts that read and replay them, after a
// small biography as the base: reading and replaying must not crash, must
// keep the document within its tables, and the history they leave must
// undo and redo back to the same document.
#include <cstdint>
#include <string>

#include "document/core/biography_reader.h"
#include "document/core/biography_writer.h"
#include "document/core/journal_replay.h"

#include "fuzz_check.h"

namespace {

void loadBase(const std::string &bytes)
{
    loadBiographyBytes(bytes);
}

void frame(std::string &journal, const std::string &payload)
{
    const uint32_t head[2] = {static_cast<uint32_t>(payload.size()), journalChecksum(payload)};
    for (uint32_t n : head)
        for (int i = 0; i < 4; ++i) journal += static_cast<char>(n >> (8 * i));
    journal += payload;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string base = "<biography_data><topic>T</topic><categories>\"A\",\"B\"</categories>"
                             "<fact1><title>x</title><category>A</category></fact1>"
                             "<fact2><title>y</title><category>B</category></fact2></biography_data>";
    std::string journal = journalStart("C:\\a.xml", nullptr, base);
    // Each record: a byte for its length, then that many bytes.
    for (std::size_t at = 0; at < size;) {
        const std::size_t length = data[at++];
        const std::size_t taken = length < size - at ? length : size - at;
        frame(journal, std::string(reinterpret_cast<const char *>(data + at), taken));
        at += taken;
    }
    const JournalContents contents = readJournal(journal);
    std::string problem;
    if (!contents.damage.empty() || !replayJournal(contents, true, loadBase, problem)) return 0;
    const Biography &d = BiographyDocument;
    check(d.entryCount >= 0 && d.entryCount <= MaxEntries, "entry count outside the table");
    check(d.categoryCount >= 0 && d.categoryCount <= MaxCategories, "category count outside the table");
    const std::string replayed = biographyFileBytes(d);
    int undone = 0;
    for (; canUndo(); ++undone) undoStep();
    for (; undone > 0; --undone) redoStep();
    check(biographyFileBytes(d) == replayed, "undo and redo do not come back to the replayed document");
    return 0;
}
