// How fast a full document (MaxEntries entries, about 10 MB) is read,
// written, searched and exported as a web page, and what its undo history
// holds after many edits, next to the naive reader
// and to plain copies and reads of the same bytes, which are the floors the
// real code is measured against, and the export next to the writer.
#include "document/core/biography_reader.h"
#include "document/core/biography_writer.h"
#include "document/core/document_edits.h"
#include "document/core/entry_search.h"
#include "document/core/file_encoding.h"
#include "document/core/web_page_writer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <string>

#include "code_page_1252.h"
#include "generated_documents.h"
#include "iconv_code_pages.h"
#include "literal_reader.h"

namespace {

constexpr size_t TargetFileBytes = 10'000'000;
// Title, date, keywords and the tags around them take roughly this much per
// entry; the detail makes up the rest.
constexpr size_t OtherBytesPerEntry = 170;

struct FullDocument {
    std::unique_ptr<Biography> document;
    std::string bytes;
    std::string text;
};

const FullDocument &fullDocument()
{
    static const FullDocument full = [] {
        std::mt19937 rng(20240601);
        FullDocument f;
        f.document = generated::randomDocument(rng, MaxEntries, TargetFileBytes / MaxEntries - OtherBytesPerEntry);
        f.bytes = biographyFileBytes(*f.document);
        f.text = biographyTextFromBytes(f.bytes);
        return f;
    }();
    return full;
}

void setBytes(benchmark::State &state, size_t perIteration)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(perIteration));
    state.counters["file_MB"] = static_cast<double>(fullDocument().bytes.size()) / 1e6;
}

// Seconds of processor time one run of `work` takes (on a machine shared
// with other work, time on the clock says more about the others), and the
// fastest of runs of one over the fastest of the other's, taken in turn.
template <typename Work>
double timeOf(Work work)
{
    const std::clock_t start = std::clock();
    benchmark::DoNotOptimize(work());
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

template <typename Work, typename Floor>
double fastestRatio(Work work, Floor floor)
{
    double worked = 1e9, floored = 1e9;
    for (int run = 0; run < 15; ++run) {
        worked = std::min(worked, timeOf(work));
        floored = std::min(floored, timeOf(floor));
    }
    return worked / floored;
}

BiographyBytes writeFullDocument()
{
    return writeBiography(*fullDocument().document);
}

// One search of the whole text per question: numbers 1..MaxEntries, then
// each fact and its fields. This is what the real reader must beat.
void BM_LiteralReader(benchmark::State &state)
{
    const FullDocument &full = fullDocument();
    for (auto _ : state) {
        literal::Document doc = literal::load(full.text, MaxEntries);
        if (doc.entries.size() != static_cast<size_t>(MaxEntries)) state.SkipWithError("literal reader lost entries");
        benchmark::DoNotOptimize(doc);
    }
    setBytes(state, full.bytes.size());
}
BENCHMARK(BM_LiteralReader)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Reader(benchmark::State &state)
{
    const FullDocument &full = fullDocument();
    for (auto _ : state) {
        const LoadReport report = loadBiographyBytes(full.bytes);
        benchmark::DoNotOptimize(report);
        if (BiographyDocument.entryCount != MaxEntries) state.SkipWithError("reader lost entries");
    }
    setBytes(state, full.bytes.size());
}
BENCHMARK(BM_Reader)->Unit(benchmark::kMillisecond);

// The CR LF translation alone: one copy of the file with the line ends
// turned into LF, the least any reader of these files has to do.
void BM_BareRead(benchmark::State &state)
{
    const FullDocument &full = fullDocument();
    for (auto _ : state) {
        std::string text = biographyTextFromBytes(full.bytes);
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
    setBytes(state, full.bytes.size());
}
BENCHMARK(BM_BareRead)->Unit(benchmark::kMillisecond);

void BM_Writer(benchmark::State &state)
{
    const FullDocument &full = fullDocument();
    for (auto _ : state) {
        const BiographyBytes bytes = writeBiography(*full.document);
        benchmark::DoNotOptimize(bytes.view().data());
        benchmark::ClobberMemory();
    }
    setBytes(state, full.bytes.size());
}
BENCHMARK(BM_Writer)->Unit(benchmark::kMillisecond);

// Making a string of the file's size from one block: the floor for the writer.
void BM_WriteSameBytesOnce(benchmark::State &state)
{
    const FullDocument &full = fullDocument();
    for (auto _ : state) {
        std::string bytes = full.bytes;
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    setBytes(state, full.bytes.size());
}
BENCHMARK(BM_WriteSameBytesOnce)->Unit(benchmark::kMillisecond);

// The same document in UTF-8, as memory holds it under the code page
// 65001: its accented letters take two bytes.
const Biography &utf8Document()
{
    static const std::unique_ptr<Biography> utf8 = [] {
        auto d = std::make_unique<Biography>(*fullDocument().document);
        std::string buffer;
        for (const EntryField &field : EntryFields)
            for (int e = 0; e < d->entryCount; ++e) {
                std::string &value = (d.get()->*field.column)[e];
                buffer.resize(3 * value.size());
                buffer.resize(codePage1252ToUtf8(value, buffer.data()));
                value = buffer;
            }
        return d;
    }();
    return *utf8;
}

// The generated document holds code page 1252, as memory did before it
// held UTF-8, and its file is like every older file: opened where memory
// is UTF-8, then saved back from there.
const TextCodePages &utf8Memory()
{
    static const LegacyCodePage page(1252, iconvCodePages());
    static const TextCodePages pages = {page, true};
    return pages;
}

LoadReport readFrom1252()
{
    return decodeBiographyFile(fullDocument().bytes, utf8Memory()).load();
}

EncodedFile writeTo1252()
{
    static const std::unique_ptr<Biography> document = [] {
        readFrom1252();
        auto read = std::make_unique<Biography>();
        swapContents(BiographyDocument, *read);
        return read;
    }();
    return encodeBiographyFile(*document, utf8Memory());
}

// x_reader: the time over the reader's alone. The budget is 2.
void BM_ReadFrom1252(benchmark::State &state)
{
    for (auto _ : state) benchmark::DoNotOptimize(readFrom1252());
    if (BiographyDocument.entryCount != MaxEntries) state.SkipWithError("reader lost entries");
    setBytes(state, fullDocument().bytes.size());
    state.counters["x_reader"] = fastestRatio(readFrom1252, [] { return loadBiographyBytes(fullDocument().bytes); });
}
BENCHMARK(BM_ReadFrom1252)->Unit(benchmark::kMillisecond);

// The same bytes but for the first line. x_writer: the time over the
// writer's alone. The budget is 2.
void BM_WriteTo1252(benchmark::State &state)
{
    const EncodedFile file = writeTo1252();
    const std::string_view held = fullDocument().bytes, written = file.bytes.view();
    if (written.substr(written.find('\n')) != held.substr(held.find('\n'))) state.SkipWithError("other bytes");
    for (auto _ : state) benchmark::DoNotOptimize(writeTo1252());
    setBytes(state, held.size());
    state.counters["x_writer"] = fastestRatio(writeTo1252, writeFullDocument);
}
BENCHMARK(BM_WriteTo1252)->Unit(benchmark::kMillisecond);

// Find over every entry for a text the document does not hold, the slowest
// search there is: every searched byte is looked at.
void findMiss(benchmark::State &state, const Biography &document, const SearchCodePage &codePage,
              const char *text, bool matchCase)
{
    for (auto _ : state) {
        const SearchPattern pattern = makeSearchPattern(text, matchCase, codePage);
        const ListPlace place = findNextEntry(document, pattern, 0, -1);
        if (place.tab != -1) state.SkipWithError("the text looked for is in the document");
        benchmark::DoNotOptimize(place);
    }
    setBytes(state, fullDocument().bytes.size());
}

const SearchCodePage Cp1252 = {codePage1252Fold()};

void BM_FindMiss(benchmark::State &state) { findMiss(state, *fullDocument().document, Cp1252, "Lisbon", false); }
BENCHMARK(BM_FindMiss)->Unit(benchmark::kMillisecond);

void BM_FindMissMatchCase(benchmark::State &state) { findMiss(state, *fullDocument().document, Cp1252, "Lisbon", true); }
BENCHMARK(BM_FindMissMatchCase)->Unit(benchmark::kMillisecond);

// Memory text in UTF-8, "Match case" off, for a text of the document's
// script and one of another: the budget is 8 ms.
void BM_FindMissUtf8(benchmark::State &state) { findMiss(state, utf8Document(), Utf8SearchCodePage, "Lisbon", false); }
BENCHMARK(BM_FindMissUtf8)->Unit(benchmark::kMillisecond);

void BM_FindMissUtf8OtherScript(benchmark::State &state) { findMiss(state, utf8Document(), Utf8SearchCodePage, u8"Łódź", false); }
BENCHMARK(BM_FindMissUtf8OtherScript)->Unit(benchmark::kMillisecond);

// The floor for Find: one read of every byte it searches (all fields but
// the category), by the C library's fastest scan, memchr, for a byte the
// text does not hold.
void BM_ReadSearchedFields(benchmark::State &state)
{
    const Biography &d = *fullDocument().document;
    for (auto _ : state) {
        size_t seen = 0;
        for (const EntryField &field : EntryFields) {
            if (field.column == &Biography::category) continue;
            for (int e = 0; e < d.entryCount; ++e) {
                const std::string &value = (d.*field.column)[e];
                seen += std::memchr(value.data(), '\x01', value.size()) ? 1 : value.size();
            }
        }
        benchmark::DoNotOptimize(seen);
    }
    setBytes(state, fullDocument().bytes.size());
}
BENCHMARK(BM_ReadSearchedFields)->Unit(benchmark::kMillisecond);

// The page beside the biography in a personality folder; the generated
// pictures are on the same drive, so every link is a relative one.
const PageFolders BenchmarkFolders = {"C:\\Anna\\BIOGRAPHY XML", "C:\\Anna\\BIOGRAPHY XML"};

BiographyBytes exportWebPage(const Biography &document)
{
    return writeWebPage(document, CodePage1252, "en", BenchmarkFolders);
}

double ratioToWriter()
{
    return fastestRatio([] { return exportWebPage(*fullDocument().document); }, writeFullDocument);
}

// The export converts every byte above 0x7F through the code page 1252
// table, as the tests do; the generated text holds a few in every detail.
// x_writer: the export's time over the writer's. The budget is 40 ms.
void BM_WebPage(benchmark::State &state)
{
    const FullDocument &full = fullDocument();
    size_t pageBytes = 0;
    for (auto _ : state) {
        const BiographyBytes bytes = exportWebPage(*full.document);
        pageBytes = bytes.view().size();
        benchmark::DoNotOptimize(bytes.view().data());
        benchmark::ClobberMemory();
    }
    setBytes(state, full.bytes.size());
    state.counters["page_MB"] = static_cast<double>(pageBytes) / 1e6;
    state.counters["x_writer"] = ratioToWriter();
}
BENCHMARK(BM_WebPage)->Unit(benchmark::kMillisecond);

// The same with each value converted on its own before it is escaped, as
// for the code pages whose characters may take two bytes.
void BM_WebPageValueByValue(benchmark::State &state)
{
    const FullDocument &full = fullDocument();
    for (auto _ : state) {
        const BiographyBytes bytes = writeWebPage(*full.document, CodePage1252AsMultiByte, "en", BenchmarkFolders);
        benchmark::DoNotOptimize(bytes.view().data());
        benchmark::ClobberMemory();
    }
    setBytes(state, full.bytes.size());
}
BENCHMARK(BM_WebPageValueByValue)->Unit(benchmark::kMillisecond);

// What the history holds after 200 edits of one 100 KB detail of the full
// document, each giving it a new text: the texts it had, once each, and
// never a copy of the document. history_bytes counts the text held.
void BM_HistoryOfDetailEdits(benchmark::State &state)
{
    const Biography &full = *fullDocument().document;
    resetDocument();
    for (const EntryField &field : EntryFields)
        std::copy(full.*field.column, full.*field.column + full.entryCount, BiographyDocument.*field.column);
    BiographyDocument.entryCount = full.entryCount;
    std::string detail(100'000, 'x');
    for (auto _ : state) {
        startHistory();
        for (int edit = 0; edit < 200; ++edit) {
            detail[edit] ^= 1; // a new text each time, round after round
            edit::setField(0, fieldNumber(&Biography::detail), detail);
        }
    }
    state.counters["history_bytes"] = static_cast<double>(historyBytes());
    state.counters["steps"] = historyStepCount();
}
BENCHMARK(BM_HistoryOfDetailEdits)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
