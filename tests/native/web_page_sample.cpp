// Lays out, in <folder>, a personality folder as a user would send it on:
// the web page of a generated biography in "BIOGRAPHY XML", with pictures
// beside it and in the sibling folder "IMAGE", and one picture the
// biography names that is missing, and pictures on another computer. The
// biography's values use every field and hold what a page must take care
// of: markup characters, line ends of every kind, control characters, bytes
// above 0x7F (read as code page 1252), file paths a link has to encode,
// time periods of every kind the chronology reads, and entries whose marks
// overlap in one row of the timeline. scripts/test hands the page to the
// Nu Html Checker and opens it in Chromium (tests/browser/check_web_page.mjs).
//   memorion_web_page_sample <folder>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "document/core/web_page_writer.h"

#include "code_page_1252.h"
#include "generated_documents.h"

namespace {

using Bytes = std::string;

const char *const Awkward[] = {
    " & sons", " <b>", " 5 > 3", " \"quoted\"", " O'Brien", " caf\xe9", " \x80 20", " \x93Z\xfcrich\x94",
    " \x01\x7f\x81", "\tTab", " \xc6sop",
};

// Years, ranges (with an en dash, byte 0x96 in code page 1252), decades,
// two-digit years and no year at all.
const char *const TimePeriods[] = {
    "1950s", "1939-1945", "1939 \x96 1945", "1921 to 1930", "Childhood", "", "summer 1962", "03/05/47",
};

std::string awkward(std::mt19937 &rng)
{
    return Awkward[std::uniform_int_distribution<size_t>(0, std::size(Awkward) - 1)(rng)];
}

// Where the page and the biography are, as Memorion on Windows would see
// them: the links the page holds are relative to this.
const char BiographyFolder[] = "C:\\Anna\\BIOGRAPHY XML";

struct Picture {
    const char *stored;  // as the biography names it, in code page 1252
    const char *written; // where the sample puts it, in UTF-8; nullptr: missing
};
const Picture Pictures[] = {
    {"C:\\Anna\\IMAGE\\Anna 1931.png", "IMAGE/Anna 1931.png"},
    {"C:\\Anna\\IMAGE\\Wedding #2 & 'party'.gif", "IMAGE/Wedding #2 & 'party'.gif"},
    {"C:\\Anna\\IMAGE\\100% Z\xfcrich.BMP", "IMAGE/100% Z\xc3\xbcrich.BMP"},
    {"portrait.gif", "BIOGRAPHY XML/portrait.gif"}, // no drive: from the biography's folder
    {"C:\\Anna\\IMAGE\\lost.jpg", nullptr},
};

// Pictures the page must not load: whoever opened it would connect to the
// server and send it their login.
const char *const PicturesElsewhere[] = {
    "\"\\\\server\\share\\Anna 1950.jpg\"", "\"\\\\?\\UNC\\server\\share\\dance.png\"",
};

// Two ranges that overlap, a year within both and the same year again.
const char *const OverlappingYears[] = {"1950-1955", "1952-1958", "1953", "1953"};

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
        "\"C:\\Family\\letter 1.txt\"", "\"C:\\Files #2\\100% sure & <b>.txt\"",
        "\"\\\\server\\share\\Z\xfcrich.pdf\"", "\"notes\\a b.txt\"\"D:\\caf\xe9.doc\"",
    };
    for (int i = 0; i < d.entryCount; ++i) {
        d.title[i] += awkward(rng);
        d.entryDate[i] += awkward(rng);
        d.timePeriod[i] = TimePeriods[i % std::size(TimePeriods)] + awkward(rng);
        d.location[i] += awkward(rng);
        d.keywords[i] = "family," + awkward(rng);
        d.detail[i] = "First" + awkward(rng) + "\r\nsecond line\r\n\r\n" + d.detail[i] + awkward(rng) +
                      "\n\n\nlast\rline\r\n";
        d.files[i] = paths[i % std::size(paths)];
        if (i % 7 == 0) d.category[i] = d.categories[d.categoryCount - 2 - i % 2];
    }
    for (size_t p = 0; p < std::size(Pictures); ++p)
        d.files[2 * p + 1] += std::string("\"") + Pictures[p].stored + "\"";
    for (size_t p = 0; p < std::size(PicturesElsewhere); ++p) d.files[2 * p + 2] += PicturesElsewhere[p];
    for (size_t k = 0; k < std::size(OverlappingYears); ++k) {
        const int i = d.entryCount - 1 - static_cast<int>(k);
        d.timePeriod[i] = OverlappingYears[k];
        d.category[i] = d.categories[d.categoryCount - 2];
    }
    d.title[0].clear();
}

// Pictures of four colours, each pixel's chosen by a painter.
using Colour = std::array<unsigned char, 3>;
const Colour Palette[4] = {{250, 230, 120}, {200, 40, 40}, {30, 90, 170}, {255, 255, 255}};
using Painter = unsigned (*)(int x, int y);
unsigned stripes(int x, int y) { return static_cast<unsigned>((x / 12 + y / 30) % 3); }
unsigned checks(int x, int y) { return static_cast<unsigned>((x / 10 + y / 10) % 2); }

void put(Bytes &out, uint32_t value, int bytes, bool bigEndian = false)
{
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> 8 * (bigEndian ? bytes - 1 - i : i));
}

Bytes paletteBytes()
{
    Bytes bytes;
    for (const Colour &c : Palette) bytes.append(c.begin(), c.end());
    return bytes;
}

void pngChunk(Bytes &png, const Bytes &typeAndData)
{
    put(png, static_cast<uint32_t>(typeAndData.size() - 4), 4, true);
    png += typeAndData;
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char b : typeAndData)
        for (int k = 0; k < 8; ++k, b >>= 1) crc = (crc >> 1) ^ (0xEDB88320 & (0 - ((crc ^ b) & 1)));
    put(png, ~crc, 4, true);
}

// Two bits a pixel through the palette, in a zlib stream of stored blocks.
Bytes png(int width, int height, Painter paint)
{
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        rows += '\0'; // no filter
        for (int x = 0; x < width; x += 4)
            rows += static_cast<char>(paint(x, y) << 6 | paint(x + 1, y) << 4 | paint(x + 2, y) << 2 | paint(x + 3, y));
    }
    Bytes zlib = "IDAT\x78\x01";
    uint32_t a = 1, b = 0;
    for (size_t at = 0; at < rows.size(); at += 65535) {
        const uint32_t length = static_cast<uint32_t>(std::min<size_t>(65535, rows.size() - at));
        zlib += static_cast<char>(at + length == rows.size());
        put(zlib, length | (~length << 16), 4);
        zlib += rows.substr(at, length);
    }
    for (unsigned char c : rows) b = (b + (a = (a + c) % 65521)) % 65521;
    put(zlib, b << 16 | a, 4, true);
    Bytes header = "IHDR";
    put(header, static_cast<uint32_t>(width), 4, true);
    put(header, static_cast<uint32_t>(height), 4, true);
    header += std::string("\x02\x03\0\0\0", 5); // 2 bits through a palette
    Bytes out = "\x89PNG\r\n\x1a\n";
    pngChunk(out, header);
    pngChunk(out, "PLTE" + paletteBytes());
    pngChunk(out, zlib);
    pngChunk(out, "IEND");
    return out;
}

// A clear code before every second pixel keeps every LZW code 3 bits wide.
Bytes gif(int width, int height, Painter paint)
{
    Bytes out = "GIF89a";
    put(out, static_cast<uint32_t>(width | height << 16), 4);
    out += std::string("\x81\0\0", 3) + paletteBytes() + ",";
    put(out, 0, 4);
    put(out, static_cast<uint32_t>(width | height << 16), 4);
    out += std::string("\0\x02", 2); // no table of its own; 2-bit pixels
    Bytes codes;
    uint32_t bits = 0;
    int count = 0;
    const auto code = [&](unsigned value) {
        for (bits |= value << count, count += 3; count >= 8; count -= 8, bits >>= 8) codes += static_cast<char>(bits);
    };
    for (int p = 0; p < width * height; ++p) {
        if (p % 2 == 0) code(4); // clear
        code(paint(p % width, p / width));
    }
    code(5); // end
    if (count > 0) codes += static_cast<char>(bits);
    for (size_t at = 0; at < codes.size(); at += 255)
        out += static_cast<char>(std::min<size_t>(255, codes.size() - at)) + codes.substr(at, 255);
    return out + std::string("\0;", 2);
}

// 24 bits a pixel, rows bottom up, each padded to four bytes.
Bytes bmp(int width, int height, Painter paint)
{
    const uint32_t rowBytes = static_cast<uint32_t>((width * 3 + 3) / 4 * 4), pixelBytes = rowBytes * height;
    Bytes out = "BM";
    for (uint32_t field : {54 + pixelBytes, 0u, 54u, 40u, static_cast<uint32_t>(width), static_cast<uint32_t>(height)})
        put(out, field, 4);
    put(out, 1 | 24 << 16, 4); // one plane, 24 bits
    for (uint32_t field : {0u, pixelBytes, 2835u, 2835u, 0u, 0u}) put(out, field, 4);
    for (int y = height - 1; y >= 0; --y) {
        Bytes row;
        for (int x = 0; x < width; ++x) row.append(Palette[paint(x, y)].rbegin(), Palette[paint(x, y)].rend());
        row.resize(rowBytes, '\0');
        out += row;
    }
    return out;
}

// The PNG is taller than half a printed sheet, which the page's print
// styles must bring down.
Bytes pictureBytes(const std::string &name)
{
    const std::string type = name.substr(name.rfind('.') + 1);
    if (type == "png") return png(360, 1200, stripes);
    if (type == "gif") return gif(120, 90, checks);
    return bmp(100, 75, stripes);
}

bool writeFile(const std::filesystem::path &path, const Bytes &bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (file) return true;
    std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder / "BIOGRAPHY XML");
    std::filesystem::create_directories(folder / "IMAGE");
    for (const Picture &picture : Pictures)
        if (picture.written != nullptr && !writeFile(folder / picture.written, pictureBytes(picture.written)))
            return 1;

    std::mt19937 rng(1921);
    auto document = generated::randomDocument(rng, 40, 400);
    makeAwkward(*document, rng);
    const BiographyBytes page =
        writeWebPage(*document, CodePage1252, "en", {BiographyFolder, BiographyFolder});
    const std::string bytes(page.view());
    return writeFile(folder / "BIOGRAPHY XML" / "Anna.html", bytes) ? 0 : 1;
}
