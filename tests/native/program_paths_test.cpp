#include <gtest/gtest.h>

#include <set>

#include "document/program_paths.h"

namespace {

// The folders the stand-in file system holds, among them names that only
// the file system's own forgiveness makes folders.
bool namesTestFolder(const std::string &path)
{
    static const std::set<std::string> folders = {
        "C:\\photos", "C:\\photos\\", "C:\\photos.", "\\\\server\\share", "C:\\a:b"};
    return folders.count(path) > 0;
}

} // namespace

TEST(ProgramPathsTest, OnlyViewerDataAndFoldersOpenWithoutAQuestion)
{
    struct Case {
        const char *path;
        bool asks;
    };
    const Case cases[] = {
        {"C:\\photos\\born.jpg", false},
        {"C:\\notes\\letter.txt", false},
        {"D:\\b c.txt", false},
        {"C:\\photos", false},
        {"C:\\photos\\", false},
        {"C:\\setup.exe\\readme.txt", false}, // only the name's own type counts
        {"relative\\notes.doc", false},
        {"C:/scans/Page.TIFF", false},
        {"a.jpeg", false}, {"a.png", false}, {"a.gif", false}, {"a.bmp", false},
        {"a.tif", false}, {"a.webp", false}, {"a.heic", false}, {"a.mp3", false},
        {"a.wav", false}, {"a.ogg", false}, {"a.flac", false}, {"a.m4a", false},
        {"a.wma", false}, {"a.aac", false}, {"a.mp4", false}, {"a.m4v", false},
        {"a.avi", false}, {"a.mov", false}, {"a.mkv", false}, {"a.wmv", false},
        {"a.mpg", false}, {"a.mpeg", false}, {"a.webm", false}, {"a.rtf", false},
        {"a.pdf", false}, {"a.docx", false}, {"a.odt", false}, {"a.xls", false},
        {"a.xlsx", false}, {"a.ods", false}, {"a.ppt", false}, {"a.pptx", false},
        {"a.odp", false}, {"a.csv", false}, {"a.XML", false},
        // No type: the shell finds "invoice.exe" for "invoice".
        {"C:\\Windows\\System32\\hostname", true},
        {"invoice", true},
        {"", true},
        {"C:\\archive.executable", true},
        {"C:\\setup.exe", true},
        {"C:\\Setup.EXE", true},
        {"C:\\a.msc", true}, {"C:\\a.url", true}, {"C:\\a.chm", true}, {"C:\\a.jar", true},
        {"C:\\a.scf", true}, {"C:\\a.vb", true}, {"C:\\a.ws", true}, {"C:\\a.wsc", true},
        {"C:\\a.sct", true}, {"C:\\a.inf", true}, {"C:\\a.settingcontent-ms", true},
        {"C:\\a.appref-ms", true}, {"C:\\a.application", true}, {"C:\\a.psm1", true},
        {"C:\\a.jpg.lnk", true},
        // Windows drops dots and blanks at the end of a name.
        {"C:\\notes.txt.", true},
        {"C:\\notes.txt ", true},
        {"C:\\photos.", true},
        {"\\\\server\\share\\notes.txt", true},
        {"\\\\server\\share", true},
        {"//server/share/notes.txt", true},
        {"\\\\?\\C:\\notes.txt", true},
        {"http://example.com/page.html", true},
        {"ms-settings:", true},
        {"C:\\notes.txt:hidden.txt", true},
        {"C:\\a:b", true},
        {"1:\\notes.txt", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(mayRunProgram(c.path, namesTestFolder), c.asks) << c.path;
}
