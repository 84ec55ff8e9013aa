// The real reader must give exactly what the literal, search-per-question
// reader gives, on files of every shape the generators can make. The literal
// reader is the definition; the real one only finds the same answers faster.
#include "document/core/biography_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "generated_documents.h"
#include "literal_reader.h"

namespace {

constexpr unsigned Seeds[] = {11u, 2024u, 777777u, 31337u};
constexpr int FilesPerSeed = 500;
constexpr int MaxReportedFiles = 5;

// Values may hold any byte; show them so a failure message can be read.
std::string shown(const std::string &value)
{
    std::string out = "\"";
    const size_t limit = 120;
    for (size_t i = 0; i < value.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '"' || c == '\\') (out += '\\') += static_cast<char>(c);
        else if (c < 0x20 || c >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else
            out += static_cast<char>(c);
    }
    if (value.size() > limit) out += "...(" + std::to_string(value.size()) + " bytes)";
    return out + "\"";
}

// How far the real document differs from the literal one; empty when not.
std::string differences(const literal::Document &expected, const LoadReport &report)
{
    const Biography &d = BiographyDocument;
    std::ostringstream out;
    auto compare = [&out](const std::string &what, const std::string &real, const std::string &want) {
        if (real != want) out << "  " << what << ": reader " << shown(real) << ", literal " << shown(want) << "\n";
    };
    compare("topic", d.topic, expected.topic);
    if (report.entriesDropped != expected.entriesDropped)
        out << "  entriesDropped: reader " << report.entriesDropped << ", literal " << expected.entriesDropped << "\n";
    if (report.categoriesDropped != expected.categoriesDropped)
        out << "  categoriesDropped: reader " << report.categoriesDropped << ", literal "
            << expected.categoriesDropped << "\n";

    if (d.entryCount != static_cast<int>(expected.entries.size()))
        out << "  entry count: reader " << d.entryCount << ", literal " << expected.entries.size() << "\n";
    const int entries = std::min<int>(d.entryCount, static_cast<int>(expected.entries.size()));
    for (int i = 0; i < entries; ++i) {
        const Entry real = entryAt(i);
        const Entry &want = expected.entries[i];
        const std::string at = "entry " + std::to_string(i) + " ";
        compare(at + "title", real.title, want.title);
        compare(at + "entryDate", real.entryDate, want.entryDate);
        compare(at + "timePeriod", real.timePeriod, want.timePeriod);
        compare(at + "location", real.location, want.location);
        compare(at + "detail", real.detail, want.detail);
        compare(at + "keywords", real.keywords, want.keywords);
        compare(at + "files", real.files, want.files);
        compare(at + "category", real.category, want.category);
    }

    if (d.categoryCount != static_cast<int>(expected.categories.size()))
        out << "  category count: reader " << d.categoryCount << ", literal " << expected.categories.size() << "\n";
    const int names = std::min<int>(d.categoryCount, static_cast<int>(expected.categories.size()));
    for (int i = 0; i < names; ++i)
        compare("category name " + std::to_string(i), d.categories[i], expected.categories[i]);
    return out.str();
}

// What the generated files were like, so that the comparison is known to
// have covered the awkward cases and not only tidy files.
struct Coverage {
    int files = 0;
    int notBiography = 0;
    int withoutFacts = 0;
    int withGaps = 0;
    int outOfOrder = 0;
    int emptyFacts = 0;
    int entriesDropped = 0;
    int categoriesDropped = 0;
    int categoriesFromEntries = 0;
    int defaultCategory = 0;
    int ctrlZ = 0;
    int loneCrInValue = 0;
    int largeNumbers = 0;
};

void note(Coverage &c, const std::string &text, const literal::Document &doc)
{
    ++c.files;
    if (!isBiographyText(text)) ++c.notBiography;
    if (doc.factCount == 0) ++c.withoutFacts;
    // With facts numbered 1..k exactly, <factk> is there; otherwise a number
    // is missing below the count.
    if (doc.factCount > 0 && text.find("<fact" + std::to_string(doc.factCount) + ">") == std::string::npos)
        ++c.withGaps;
    const size_t two = text.find("<fact2>");
    const size_t one = text.find("<fact1>");
    if (one != std::string::npos && two != std::string::npos && two < one) ++c.outOfOrder;
    bool empty = false, byDefault = false, loneCr = false;
    for (const Entry &e : doc.entries) {
        if (e.title.empty() && e.detail.empty() && e.entryDate.empty()) empty = true;
        if (e.category == "Default") byDefault = true;
        for (const std::string *v : {&e.title, &e.detail, &e.location})
            if (v->find('\r') != std::string::npos) loneCr = true;
    }
    if (empty) ++c.emptyFacts;
    if (byDefault) ++c.defaultCategory;
    if (loneCr) ++c.loneCrInValue;
    if (doc.entriesDropped) ++c.entriesDropped;
    if (doc.categoriesDropped) ++c.categoriesDropped;
    if (!doc.entries.empty() &&
        extractBetween(text, "<categories>", "</categories>").find('"') == std::string::npos)
        ++c.categoriesFromEntries;
    if (text.find('\x1a') != std::string::npos) ++c.ctrlZ;
    for (const std::string &n : generated::LargeFactNumbers)
        if (text.find("<fact" + n + ">") != std::string::npos) {
            ++c.largeNumbers;
            break;
        }
}

// Tags and bits of text to search for, many of which occur in the files.
const std::vector<std::string> SearchWords = {
    "<topic>", "</topic>", "<categories>", "</categories>", "<fact1>", "</fact1>", "<fact2>", "</fact2>",
    "<title>", "</title>", "<detail>", "</detail>", "<category>", "</category>", "<biography_data>",
    "</biography_data>", "\"", ",", "\n", "\r", "\r\n", "\x1a", "<", ">", "", "<fact", "zzz-absent",
};

std::string searchWord(std::mt19937 &rng, const std::string &text)
{
    if (!text.empty() && std::bernoulli_distribution(0.3)(rng)) {
        // A piece of the text itself, so that rarer strings are found too.
        const size_t at = std::uniform_int_distribution<size_t>(0, text.size() - 1)(rng);
        const size_t length = std::uniform_int_distribution<size_t>(1, 12)(rng);
        return text.substr(at, length);
    }
    return SearchWords[std::uniform_int_distribution<size_t>(0, SearchWords.size() - 1)(rng)];
}

// The literal reader asks thousands of questions per file and takes nearly
// all of the test's time. It keeps no state of its own, so the expected
// documents are worked out on all cores; the real reader, which fills the
// one global document, then runs on this thread.
std::vector<literal::Document> literalDocuments(const std::vector<std::string> &files)
{
    std::vector<literal::Document> documents(files.size());
    const unsigned workers = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
    // Files are handed out one at a time: the few oversized ones cost as
    // much as hundreds of the others, and they come at a fixed stride.
    std::atomic<size_t> next{0};
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w)
        threads.emplace_back([&] {
            for (size_t i = next++; i < files.size(); i = next++)
                documents[i] = literal::load(literal::textFromBytes(files[i]), generated::HighestFactNumber,
                                             generated::LargeFactNumbers);
        });
    for (std::thread &t : threads) t.join();
    return documents;
}

class ReaderAgainstLiteralReader : public ::testing::Test {
protected:
    void SetUp() override { resetDocument(); }
};

TEST_F(ReaderAgainstLiteralReader, GeneratedFilesLoadIdentically)
{
    Coverage coverage;
    int failedFiles = 0;
    for (unsigned seed : Seeds) {
        const std::vector<std::string> files = generated::sampleFiles(seed, FilesPerSeed);
        const std::vector<literal::Document> expectedDocuments = literalDocuments(files);
        std::mt19937 searchRng(seed);
        for (size_t index = 0; index < files.size(); ++index) {
            const std::string &bytes = files[index];
            const std::string where = "file " + std::to_string(index) + " of seed " + std::to_string(seed);

            const std::string text = biographyTextFromBytes(bytes);
            const std::string literalText = literal::textFromBytes(bytes);
            if (text != literalText) {
                ADD_FAILURE() << where << ": byte translation differs\n  reader " << shown(text) << "\n  literal "
                              << shown(literalText);
                if (++failedFiles >= MaxReportedFiles) return;
                continue;
            }

            const literal::Document &expected = expectedDocuments[index];
            // Straight from the bytes, as the program opens files, and from
            // the translated text.
            std::string diff = differences(expected, loadBiographyBytes(bytes));
            const std::string fromText = differences(expected, loadBiographyText(text));
            if (!fromText.empty()) diff += "  (loaded from the text)\n" + fromText;

            const int facts = countFacts(text);
            if (facts != expected.factCount)
                diff += "  countFacts: reader " + std::to_string(facts) + ", literal " +
                        std::to_string(expected.factCount) + "\n";

            for (int k = 0; k < 8; ++k) {
                const std::string start = searchWord(searchRng, text);
                const std::string end = searchWord(searchRng, text);
                const std::string real = extractBetween(text, start, end);
                const std::string want = literal::extractBetween(text, start, end);
                if (real != want)
                    diff += "  extractBetween(" + shown(start) + ", " + shown(end) + "): reader " + shown(real) +
                            ", literal " + shown(want) + "\n";
            }

            if (!diff.empty()) {
                ADD_FAILURE() << where << " (" << bytes.size() << " bytes) differs:\n" << diff;
                if (++failedFiles >= MaxReportedFiles) return;
            }
            note(coverage, text, expected);
        }
    }

    // Tidy files alone would let a wrong reader pass; make sure the awkward
    // cases were really among the files compared.
    const int n = coverage.files;
    ASSERT_EQ(n, FilesPerSeed * static_cast<int>(std::size(Seeds)));
    EXPECT_GT(coverage.notBiography, 0);
    EXPECT_GT(coverage.withoutFacts, n / 50);
    EXPECT_GT(coverage.withGaps, n / 20);
    EXPECT_GT(coverage.outOfOrder, 0);
    EXPECT_GT(coverage.emptyFacts, n / 20);
    EXPECT_GT(coverage.entriesDropped, 10);
    EXPECT_GT(coverage.categoriesDropped, 5);
    EXPECT_GT(coverage.categoriesFromEntries, n / 20);
    EXPECT_GT(coverage.defaultCategory, n / 20);
    EXPECT_GT(coverage.ctrlZ, n / 20);
    EXPECT_GT(coverage.loneCrInValue, n / 50);
    EXPECT_GT(coverage.largeNumbers, 0);
    std::printf("compared %d files: %d without facts, %d with gaps, %d out of order, %d with empty facts, "
                "%d over the entry and %d over the category limit, %d listing no category, %d with Ctrl-Z, "
                "%d with large fact numbers\n",
                n, coverage.withoutFacts, coverage.withGaps, coverage.outOfOrder, coverage.emptyFacts,
                coverage.entriesDropped, coverage.categoriesDropped, coverage.categoriesFromEntries,
                coverage.ctrlZ, coverage.largeNumbers);
}

// The byte translation on its own, on runs of CR and LF no file layout
// makes. Lengths go past several 16-byte blocks so that pairs fall on
// every position of a block, across block edges and into the last bytes.
TEST(ReaderByteTranslationAgainstLiteral, RandomLineEndRuns)
{
    std::mt19937 rng(99);
    const char dense[] = {'\r', '\n', 'a', '\x1a', '\0'};
    for (int i = 0; i < 20000; ++i) {
        // Dense runs give blocks with many pairs, sparse ones blocks with one.
        const double lineEnds = i % 2 == 0 ? 1.0 : 0.08;
        std::string bytes(std::uniform_int_distribution<int>(0, 80)(rng), 'a');
        for (char &c : bytes)
            if (std::bernoulli_distribution(lineEnds)(rng)) c = dense[std::uniform_int_distribution<int>(0, 4)(rng)];
        ASSERT_EQ(biographyTextFromBytes(bytes), literal::textFromBytes(bytes)) << "bytes " << shown(bytes);
    }
}

TEST(ReaderByteTranslationAgainstLiteral, OnePairAtEveryPosition)
{
    for (size_t length = 2; length <= 50; ++length)
        for (size_t at = 0; at + 2 <= length; ++at) {
            std::string bytes(length, 'x');
            for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>('A' + i % 26);
            bytes[at] = '\r';
            bytes[at + 1] = '\n';
            std::string expected = bytes;
            expected.erase(at, 1);
            ASSERT_EQ(biographyTextFromBytes(bytes), expected) << "length " << length << ", pair at " << at;
        }
}

} // namespace
