#include "main_window_fixture.h"

#include <cstring>
#include <string>

#include "../res/resource.h"
#include "document/file_dialogs.h"
#include "mainwindow/main_window.h"

using WebPageExportTest = MainWindowFixture;

namespace {

// What the export asked the save dialog for, and the answer it gets when
// the test stands in for the dialog.
struct DialogRequest {
    HWND owner = NULL;
    std::string proposedName, folder, filter, defaultExtension;
    DWORD flags = 0;
    int shown = 0;
};
DialogRequest request;
std::string answer; // given once, then Cancel; empty: Cancel
FileDialogRunner realSaveDialog;

void noteRequest(const OPENFILENAMEA &dialog)
{
    request.owner = dialog.hwndOwner;
    request.proposedName = dialog.lpstrFile;
    request.folder = dialog.lpstrInitialDir ? dialog.lpstrInitialDir : "";
    // The filter is pairs of texts ending in an empty one.
    const char *end = dialog.lpstrFilter;
    while (*end) end += strlen(end) + 1;
    request.filter.assign(dialog.lpstrFilter, end);
    request.defaultExtension = dialog.lpstrDefExt ? dialog.lpstrDefExt : "";
    request.flags = dialog.Flags;
    ++request.shown;
}

// Notes the request, then shows the system's dialog.
bool watchedDialog(OPENFILENAMEA &dialog, DWORD &error)
{
    noteRequest(dialog);
    return realSaveDialog(dialog, error);
}

// Notes the request and answers without showing anything.
bool standInDialog(OPENFILENAMEA &dialog, DWORD &error)
{
    noteRequest(dialog);
    error = 0;
    if (answer.empty()) return false;
    lstrcpynA(dialog.lpstrFile, answer.c_str(), static_cast<int>(dialog.nMaxFile));
    answer.clear();
    return true;
}

class SaveDialogReplaced {
public:
    explicit SaveDialogReplaced(FileDialogRunner runner)
    {
        request = DialogRequest();
        answer.clear();
        realSaveDialog = runSaveFileDialog;
        runSaveFileDialog = runner;
    }
    ~SaveDialogReplaced() { runSaveFileDialog = realSaveDialog; }
};

// A document that belongs to `name` in `folder`, with unsaved changes.
void openAnna(const std::string &folder, const std::string &name = "Anna.xml")
{
    setDocumentPath(folder + "\\" + name);
    showDocumentName();
    BiographyDocument.modified = true;
}

} // namespace

TEST_F(WebPageExportTest, IsADocumentCommandAfterSaveAs)
{
    HMENU file = GetSubMenu(GetMenu(MainWindow), 0);
    EXPECT_EQ(menuItemIds(file)[5], static_cast<UINT>(IDM_EXPORT_WEB_PAGE));
    EXPECT_EQ(menuItemTexts(file)[5], "&Export as web page...");
    EXPECT_TRUE(menuItemGreyed(MainWindow, IDM_EXPORT_WEB_PAGE));
    showDocument("Anna", {makeEntry("Born", "Family")});
    EXPECT_FALSE(menuItemGreyed(MainWindow, IDM_EXPORT_WEB_PAGE));
}

TEST_F(WebPageExportTest, ProposesThePageBesideTheFileAndCancelChangesNothing)
{
    const std::string folder = makeTestFolder("export-cancel");
    showDocument("Anna", {makeEntry("Born", "Family")});
    openAnna(folder);
    SaveDialogReplaced replaced(standInDialog);
    GuiScript script;
    command(IDM_EXPORT_WEB_PAGE);
    EXPECT_EQ(request.shown, 1);
    EXPECT_EQ(request.owner, MainWindow);
    EXPECT_EQ(request.proposedName, "Anna.html");
    EXPECT_EQ(request.folder, folder);
    EXPECT_EQ(request.filter, std::string("Web page (*.html)\0*.html\0", 25));
    EXPECT_EQ(request.defaultExtension, "html");
    EXPECT_TRUE(request.flags & OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(script.seen().empty()) << "Cancel says nothing";
    EXPECT_FALSE(fileExists(folder + "\\Anna.html"));
    EXPECT_TRUE(BiographyDocument.modified);
}

TEST_F(WebPageExportTest, WritesThePageThroughTheSystemDialogAndLeavesTheDocumentAlone)
{
    const std::string folder = makeTestFolder("export");
    Entry cafe = makeEntry(ansi(L"Café & <friends>"), "Family");
    cafe.detail = "one\r\ntwo";
    showDocument("Anna", {cafe});
    openAnna(folder);
    SaveDialogReplaced replaced(watchedDialog);
    GuiScript script;
    script.onDialog("Save As", [](HWND dialog) { clickButton(dialog, IDOK); }); // takes the proposal
    command(IDM_EXPORT_WEB_PAGE);
    EXPECT_TRUE(script.finished()) << script.problems();

    const std::string page = readFileBytes(folder + "\\Anna.html");
    EXPECT_EQ(page.compare(0, 16, "<!DOCTYPE html>\n"), 0) << page;
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("<h1>Anna</h1>"), std::string::npos);
    EXPECT_NE(page.find("<p>one<br>\ntwo</p>"), std::string::npos);
    EXPECT_NE(page.find("<h3>Caf\xc3\xa9 &amp; &lt;friends&gt;</h3>"), std::string::npos) << page;
    EXPECT_EQ(BiographyDocument.filePath, folder + "\\Anna.xml");
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_EQ(windowText(MainWindow), "Memorion - Anna.xml");
    EXPECT_EQ(statusText(StatusBar, 0), "Anna.xml");
    EXPECT_EQ(BiographyDocument.title[0], ansi(L"Café & <friends>"));
}

TEST_F(WebPageExportTest, AFailureIsReportedAndTheOldPageKept)
{
    const std::string folder = makeTestFolder("export-locked");
    const std::string target = folder + "\\Anna.html";
    writeFileBytes(target, "the page from last week");
    showDocument("Anna", {makeEntry("Born", "Family")});
    openAnna(folder);
    SaveDialogReplaced replaced(standInDialog);
    answer = target;
    {
        FileHeldOpen lock(target);
        ASSERT_TRUE(lock.held());
        GuiScript script;
        script.press("Error", IDOK);
        command(IDM_EXPORT_WEB_PAGE);
        EXPECT_TRUE(script.finished()) << script.problems();
        ASSERT_EQ(script.seen().size(), 1u);
        EXPECT_EQ(script.seen()[0].icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(script.seen()[0].owner, MainWindow);
        EXPECT_EQ(script.seen()[0].text.find("The web page \"" + target + "\" could not be saved."), 0u)
            << script.seen()[0].text;
    }
    EXPECT_EQ(readFileBytes(target), "the page from last week");
    EXPECT_TRUE(BiographyDocument.modified);
    EXPECT_EQ(windowText(MainWindow), "Memorion - Anna.xml");
}

// Writing the page over the biography would leave its only good copy in
// memory, unmarked. Every name of the same file counts.
TEST_F(WebPageExportTest, TheBiographyItIsMadeFromIsNeverReplaced)
{
    const std::string folder = makeTestFolder("export-over-itself");
    const std::string biography = folder + "\\Anna.html";
    writeFileBytes(biography, "the biography's own bytes");
    char shortName[MAX_PATH] = "", previousFolder[MAX_PATH] = "";
    ASSERT_TRUE(GetShortPathNameA(biography.c_str(), shortName, MAX_PATH));
    GetCurrentDirectoryA(MAX_PATH, previousFolder);
    SetCurrentDirectoryA(folder.c_str());
    showDocument("Anna", {makeEntry("Born", "Family")});
    for (const std::string &target :
         {biography, folder + "\\aNNA.HTML", std::string(".\\Anna.html"), std::string(shortName)}) {
        SCOPED_TRACE(target);
        writeFileBytes(biography, "the biography's own bytes");
        openAnna(folder, "Anna.html");
        BiographyDocument.modified = false;
        SaveDialogReplaced replaced(standInDialog);
        answer = target;
        GuiScript script;
        script.press("Export as web page", IDOK);
        command(IDM_EXPORT_WEB_PAGE);
        EXPECT_EQ(readFileBytes(biography), "the biography's own bytes");
        EXPECT_FALSE(BiographyDocument.modified);
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(request.proposedName, "Anna.page.html");
        EXPECT_EQ(request.shown, 2) << "the save dialog again after the refusal";
        for (const SeenDialog &seen : script.seen()) {
            expectBox(seen, "Export as web page", "A web page cannot replace the biography it is "
                      "made from. Choose another name.", MB_ICONEXCLAMATION, MB_OK);
            EXPECT_EQ(seen.owner, MainWindow);
        }
    }
    SetCurrentDirectoryA(previousFolder);
}

// The export tells the writer where the page goes and where the biography
// is: a page in a folder of its own links the files beside the biography,
// named with or without their folder, by relative links.
TEST_F(WebPageExportTest, LinksFilesRelativeToThePagesFolder)
{
    const std::string folder = makeTestFolder("export-links");
    ASSERT_TRUE(CreateDirectoryA((folder + "\\WEB").c_str(), NULL));
    Entry born = makeEntry("Born", "Family");
    born.files = "\"IMAGE\\Anna 1931.jpg\"\"" + folder + "\\TEXT\\letter.txt\"";
    showDocument("Anna", {born});
    openAnna(folder);
    SaveDialogReplaced replaced(standInDialog);
    const std::string target = folder + "\\WEB\\Anna.html";
    answer = target;
    command(IDM_EXPORT_WEB_PAGE);

    const std::string page = readFileBytes(target);
    EXPECT_NE(page.find("<img src=\"../IMAGE/Anna%201931.jpg\""), std::string::npos) << page;
    EXPECT_NE(page.find("<a href=\"../TEXT/letter.txt\">"), std::string::npos) << page;
}
