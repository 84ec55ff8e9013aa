// Import from and export as family tree, as a user meets them: the menu,
// the person dialog narrowed by typing and answered with Enter, the report,
// undo, and the file written.
#include "main_window_fixture.h"

#include <commctrl.h>

#include "../res/resource.h"
#include "document/file_dialogs.h"

namespace {

// The sample files of the sources, seen from Wine's drive Z:.
std::string sampleTree(const char *name)
{
    std::string path = std::string("Z:") + MEMORION_FAMILY_TREES + "/" + name;
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

// Answers the file dialogs without showing them, and notes what they asked.
std::string answer;
OPENFILENAMEA asked;
std::string proposed, initialFolder;
bool standIn(OPENFILENAMEA &dialog, DWORD &error)
{
    asked = dialog;
    proposed = dialog.lpstrFile;
    initialFolder = dialog.lpstrInitialDir ? dialog.lpstrInitialDir : "";
    error = 0;
    if (answer.empty()) return false;
    lstrcpynA(dialog.lpstrFile, answer.c_str(), static_cast<int>(dialog.nMaxFile));
    return true;
}

class FamilyTreeTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        realOpen_ = runOpenFileDialog;
        realSave_ = runSaveFileDialog;
        runOpenFileDialog = runSaveFileDialog = standIn;
    }
    void TearDown() override
    {
        runOpenFileDialog = realOpen_;
        runSaveFileDialog = realSave_;
        MainWindowFixture::TearDown();
    }
    FileDialogRunner realOpen_, realSave_;
};

// Their place in the File menu is checked with the whole menu.
TEST_F(FamilyTreeTest, TheCommandsWaitForADocument)
{
    for (int id : {IDM_IMPORT_FAMILY_TREE, IDM_EXPORT_FAMILY_TREE}) EXPECT_TRUE(menuItemGreyed(MainWindow, id));
    showDocument("Anna", {makeEntry("Mine", "Family")});
    for (int id : {IDM_IMPORT_FAMILY_TREE, IDM_EXPORT_FAMILY_TREE}) EXPECT_FALSE(menuItemGreyed(MainWindow, id));
}

// Typing narrows the list as it goes; Enter imports the one selected, as
// one step that undo takes back whole.
TEST_F(FamilyTreeTest, TypingNarrowsThePeopleAndEnterImportsOne)
{
    showDocument("Anna", {makeEntry("Mine", "Family")});
    SetForegroundWindow(MainWindow);
    answer = sampleTree("weber.ged");
    std::vector<int> counts;
    std::string firstListed;
    GuiScript script;
    script.onDialog("Import from family tree", [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_PERSON_LIST);
        counts.push_back(listRowCount(list));
        firstListed = listCell(list, 0, 0) + " " + listCell(list, 0, 1) + "-" + listCell(list, 0, 2);
        for (WORD key : {'K', 'A'}) pressKeys({key});
        pumpFor(300);
        counts.push_back(listRowCount(list));
        EXPECT_EQ(listCell(list, 0, 0), "Weber, Karl");
        for (WORD key : {VK_BACK, VK_BACK}) pressKeys({key});
        pumpFor(300);
        counts.push_back(listRowCount(list));
        pressKeys({VK_RETURN});
    });
    script.press("Import from family tree", IDOK);
    command(IDM_IMPORT_FAMILY_TREE);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(counts, (std::vector<int>{2, 1, 2}));
    EXPECT_EQ(firstListed, "Weber, Anna Maria 1931-2010");
    EXPECT_EQ(std::string(asked.lpstrFilter, 27), std::string("Family tree files (*.ged)\0*.ged", 27));
    ASSERT_EQ(script.seen().size(), 2u);
    // Typed and taken back: both listed again, Anna first and selected.
    expectBox(script.seen()[1], "Import from family tree",
              "12 facts of Anna Maria Weber added (1 skipped: a kind of fact Memorion does not know, _MILT).\n\n"
              "3 characters an entry cannot hold were replaced: \"&\" by \"and\", \"<\" and \">\" by \"" + ansi(L"\u2039") + "\" and \"" + ansi(L"\u203A") + "\".",
              MB_ICONINFORMATION, MB_OK);

    const Biography &d = BiographyDocument;
    ASSERT_EQ(d.entryCount, 13);
    EXPECT_EQ(d.location[1], ansi(L"Z\u00FCrich, Switzerland")) << "in memory's code page";
    EXPECT_EQ(tabTexts(CategoryTabs),
              (std::vector<std::string>{"Other", "Places lived", "Work and education", "Life events", "Family"}));
    EXPECT_EQ(selectedTab(CategoryTabs), 3);
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"Birth", "Death", "Burial"}));
    EXPECT_EQ(menuItemText(MainWindow, IDM_UNDO), "&Undo Import from family tree\tCtrl+Z");
    command(IDM_UNDO);
    EXPECT_EQ(d.entryCount, 1);
    EXPECT_EQ(tabTexts(CategoryTabs), (std::vector<std::string>{"Family"}));
    EXPECT_FALSE(d.modified);
}

TEST_F(FamilyTreeTest, AFileThatIsNoFamilyTreeIsRefused)
{
    showDocument("Anna", {makeEntry("Mine", "Family")});
    const std::string path = makeTestFolder("not-a-tree") + "\\notes.ged";
    writeFileBytes(path, "<biography_data></biography_data>");
    answer = path;
    GuiScript script;
    script.press("Import from family tree", IDOK);
    command(IDM_IMPORT_FAMILY_TREE);
    ASSERT_EQ(script.seen().size(), 1u);
    expectBox(script.seen()[0], "Import from family tree", "notes.ged is not a family tree file (GEDCOM).",
              MB_ICONEXCLAMATION, MB_OK);
    EXPECT_EQ(BiographyDocument.entryCount, 1);
}

TEST_F(FamilyTreeTest, ExportWritesUtf8BesideTheBiography)
{
    const std::string folder = makeTestFolder("export-tree");
    Entry born = makeEntry("Birth", "Life events");
    born.entryDate = "2 OCT 1931";
    born.location = ansi(L"Z\u00FCrich");
    showDocument("Anna", {born});
    setDocumentPath(folder + "\\Anna.xml");
    answer = folder + "\\Anna.ged";
    command(IDM_EXPORT_FAMILY_TREE);
    EXPECT_EQ(proposed, "Anna.ged");
    EXPECT_EQ(initialFolder, folder);
    const std::string bytes = readFileBytes(answer);
    EXPECT_EQ(bytes.compare(0, 8, "0 HEAD\r\n"), 0);
    EXPECT_NE(bytes.find("0 @I1@ INDI\r\n1 NAME Anna\r\n1 BIRT\r\n2 DATE 2 OCT 1931\r\n2 PLAC Z\xC3\xBCrich\r\n"),
              std::string::npos)
        << bytes;
}

} // namespace
