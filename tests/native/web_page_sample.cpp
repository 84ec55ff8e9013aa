// Writes the web page of a generated biography whose values use every field
// and hold what a page must take care of: markup characters, line ends of
// every kind, control characters, bytes above 0x7F (read as code page 1252)
// and file paths a link has to encode. scripts/test hands the page to the
// Nu Html Checker.
//   memorion_web_page_sample <page.html>
#include <cstdio>
#include <random>
#include <string>

#include "document/core/web_page_writer.h"

#include "code_page_1252.h"
#include "generated_documents.h"

namespace {

const char *const Awkward[] = {
    " & sons", " <b>", " 5 > 3", " \"quoted\"", " O'Brien", " caf\xe9", " \x80 20", " \x93Z\xfcrich\x94",
    " \x01\x7f\x81", "\tTab", " \xc6sop",
};

std::string awkward(std::mt19937 &rng)
{
    return Awkward[std::uniform_int_distribution<size_t>(0, std::size(Awkward) - 1)(rng)];
}

void addCategory(Biography &d, const std::string &name)
{
    d.categories[d.categoryCount++] = name;
}

void makeAwkward(Biography &d, std::mt19937 &rng)
{
    d.fileName = "Anna & Co.xml";
    d.topic = "Anna \"Nan\" O'Brien & <family>\r\nZ\xfcrich \x80 1921";
    addCategory(d, "Letters & <notes>");
    addCategory(d, "Caf\xe9 'Z'");
    addCategory(d, "Nothing here yet");
    const char *const paths[] = {
        "\"C:\\Family\\photo 1.jpg\"", "\"C:\\Files #2\\100% sure & <b>.txt\"",
        "\"\\\\server\\share\\Z\xfcrich.png\"", "\"notes\\a b.txt\"\"D:\\caf\xe9.doc\"",
    };
    for (int i = 0; i < d.entryCount; ++i) {
        d.title[i] += awkward(rng);
        d.entryDate[i] += awkward(rng);
        d.timePeriod[i] = "1950s" + awkward(rng);
        d.location[i] += awkward(rng);
        d.keywords[i] = "family," + awkward(rng);
        d.detail[i] = "First" + awkward(rng) + "\r\nsecond line\r\n\r\n" + d.detail[i] + awkward(rng) +
                      "\n\n\nlast\rline\r\n";
        d.files[i] = paths[i % std::size(paths)];
        if (i % 7 == 0) d.category[i] = d.categories[d.categoryCount - 2 - i % 2];
    }
    d.title[0].clear();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <page.html>\n", argv[0]);
        return 2;
    }
    std::mt19937 rng(1921);
    auto document = generated::randomDocument(rng, 40, 400);
    makeAwkward(*document, rng);
    const BiographyBytes page = writeWebPage(*document, CodePage1252, "en");
    std::FILE *file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(page.view().data(), 1, page.view().size(), file) == page.view().size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
