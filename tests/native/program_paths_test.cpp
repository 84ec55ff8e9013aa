#include <gtest/gtest.h>

#include "document/core/program_paths.h"

namespace {

// Among them names that only the file system's forgiveness makes folders.
bool namesTestFolder(const std::string &path)
{
    for (const char *folder : {"C:\\photos", "C:\\photos.", "\\\\server\\share", "C:\\a:b"})
        if (path == folder) return true;
    return false;
}

} // namespace

// Only viewer data and existing folders open without a question.
TEST(ProgramPathsTest, ProgramsScriptsAndOtherComputersAreTold)
{
    struct Case {
        const char *path;
        bool risky;
    };
    const Case cases[] = {
        {"C:\\photos\\born.jpg", false},
        {"C:\\notes\\letter.txt", false},
        {"D:\\b c.txt", false},
        {"C:\\photos", false},
        {"C:\\setup.exe\\readme.txt", false}, // only the name's own type counts
        {"C:/scans/Page.TIFF", false}, {"C:\\a.heic", false}, {"C:\\a.flac", false}, {"C:\\a.webm", false},
        {"C:\\a.pptx", false}, {"C:\\a.XML", false},
        // Not full: taken from the current folder, or made a web address.
        {"relative\\notes.doc", true}, {"www.attacker.example/holiday.jpg", true}, {"C:notes.txt", true},
        {"\\??\\UNC\\server\\share\\a.jpg", true}, {"/?\?/C:/notes.txt", true}, {"\\\\.\\C:\\notes.txt", true},
        // No type: the shell finds "invoice.exe" for "invoice".
        {"C:\\Windows\\System32\\hostname", true}, {"invoice", true}, {"", true},
        {"C:\\archive.executable", true}, {"C:\\photos.", true}, {"C:\\notes.txt ", true},
        {"C:\\a.msc", true}, {"C:\\a.url", true}, {"C:\\a.chm", true}, {"C:\\a.jar", true},
        {"C:\\a.scf", true}, {"C:\\a.vb", true}, {"C:\\a.ws", true}, {"C:\\a.wsc", true},
        {"C:\\a.sct", true}, {"C:\\a.inf", true}, {"C:\\a.settingcontent-ms", true},
        {"C:\\a.appref-ms", true}, {"C:\\a.application", true}, {"C:\\a.psm1", true},
        {"\\\\server\\share", true}, {"C:\\a:b", true},
        {"C:\\setup.exe", true},
        {"C:\\Setup.EXE", true},
        {"C:\\setup.exe.", true},  // Windows drops the trailing dot
        {"C:\\setup.exe . ", true},
        {"C:/tools/run.Bat", true},
        {"x.com", true},
        {"C:\\a.cmd", true}, {"C:\\a.scr", true}, {"C:\\a.pif", true}, {"C:\\a.cpl", true},
        {"C:\\a.msi", true}, {"C:\\a.msp", true}, {"C:\\a.hta", true}, {"C:\\a.js", true},
        {"C:\\a.jse", true}, {"C:\\a.vbs", true}, {"C:\\a.vbe", true}, {"C:\\a.wsf", true},
        {"C:\\a.wsh", true}, {"C:\\a.ps1", true}, {"C:\\a.lnk", true}, {"C:\\a.reg", true},
        {"\\\\server\\share\\notes.txt", true},
        {"//server/share/notes.txt", true},
        {"\\\\?\\C:\\notes.txt", true},
        {"http://example.com/page", true},
        {"ms-settings:", true},
        {"C:\\notes.txt:hidden", true},
    };
    for (const Case &c : cases) EXPECT_EQ(mayRunProgram(c.path, namesTestFolder), c.risky) << c.path;
}

// A path that is not full is taken from the biography's folder; with none
// (never saved) there is nothing to take it from.
TEST(ProgramPathsTest, PathsAreTakenFromTheBiographysFolder)
{
    const char *const cases[][3] = {
        {"www.x.example/a.jpg", "C:\\Anna\\Anna.xml", "C:\\Anna\\www.x.example/a.jpg"},
        {"a.jpg", "C:\\Anna.xml", "C:\\a.jpg"},
        {"\\a.jpg", "\\\\nas\\family\\Anna\\Anna.xml", "\\\\nas\\family\\a.jpg"},
        {"D:a.jpg", "C:\\Anna.xml", "D:\\a.jpg"}, {"\\??\\C:\\a.jpg", "C:\\Anna.xml", "\\??\\C:\\a.jpg"},
        {"D:\\a.jpg", "", "D:\\a.jpg"}, {"a.jpg", "", ""}, {"\\a.jpg", "", ""}, {"", "C:\\Anna.xml", ""},
    };
    for (const auto &c : cases) EXPECT_EQ(pathFromBiographyFolder(c[0], c[1]), c[2]) << c[0] << " in " << c[1];
}

TEST(ProgramPathsTest, PicturesAreTold)
{
    const std::pair<const char *, bool> paths[] = {
        {"C:\\a.jpg", true}, {"a.JPEG", true}, {"a.Png", true},     {"a.gif", true},
        {"a.bmp", true},      {"a.webp", true}, {"a.tif", false},    {"a.jpg.txt", false},
        {"a.jpg\\b", false}, {"jpg", false},   {"photo.", false}, {"", false},
    };
    for (const auto &path : paths) EXPECT_EQ(isPicture(path.first), path.second) << path.first;
}
