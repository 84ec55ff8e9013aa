// Text of any script through the windows: typed, listed, saved, opened, and
// in the paths of files handed to the shell. ctest runs this group again
// with the system's legacy code page 1252 and 932 (LC_CTYPE).
#include "editor_steps.h"

#include <commctrl.h>

#include "../res/resource.h"
#include "entryedit/associated_files_dialog.h"
#include "entryedit/entry_editor.h"
#include "mainwindow/text_buffers.h"

using AnyScript = MainWindowFixture;

namespace {

std::wstring onlyFileIn(const std::string &folder, const wchar_t *pattern)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((wide(folder) + L"\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return L"";
    FindClose(search);
    return found.cFileName;
}

} // namespace

// Ten kanji take 30 bytes in UTF-8 and 20 in code page 932, not the 10 the
// control counts; the read of a clicked link must stay in its buffer.
TEST_F(AnyScript, APathOfKanjiIsReadWithinItsBufferAndAnAttachedFileReachesTheShell)
{
    ASSERT_EQ(GetACP(), 65001u) << "the manifest makes every ANSI call UTF-8";
    const std::string kanji = ansi(L"C:\\写真\\祖父母結婚式家族.jpg");
    const std::string photo = makeTestFolder(ansi(L"Łódź Αθήνα 写真")) + ansi(L"\\Łódź 1946.jpg");
    writeFileBytes(photo, "x");
    showDocument("", {makeEntry("a", "C", "", "\"" + kanji + "\"")});
    std::vector<std::string> rows;
    GuiScript script;
    inEditor(script, [&](HWND editor) {
        const CHARRANGE range = rangeOf(kanji);
        const size_t bytes = textRangeBytes(range);
        std::string buffer(bytes + 8, '#');
        EXPECT_EQ(readTextRange(EntryRichText, range, &buffer[0]), kanji.size());
        EXPECT_EQ(buffer.substr(0, kanji.size()), kanji);
        EXPECT_EQ(buffer.substr(bytes), "########") << "written past the buffer";
        clickLink(editor, range);
    });
    inDialog(script, "Associated files", [&](HWND) {
        SendMessageA(FileListView, WM_COMMAND, IDM_ADD_FILE, 0);
        for (int r = 0; r < listRowCount(FileListView); ++r) rows.push_back(listCell(FileListView, r, 0));
        selectListRow(FileListView, 1, true);
        const POINT at = rowPoint(FileListView, 1);
        SendMessageA(FileListView, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    });
    script.onDialog("Open", [&](HWND d) { chooseInFileDialog(d, photo); });
    doubleClickRow(0);

    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(rows, (std::vector<std::string>{kanji, photo}));
    ASSERT_EQ(recordedShellCalls().size(), 1u);
    EXPECT_EQ(recordedShellCalls()[0].file, photo);
    EXPECT_EQ(BiographyDocument.files[0], "\"" + kanji + "\"\"" + photo + "\"");
}

// Typed as real key presses, with a character beyond the Basic
// Multilingual Plane; saved under a name of its own script and opened again.
TEST_F(AnyScript, ATitleTypedInAnyScriptIsListedSavedAndOpenedAgain)
{
    const std::wstring typed = L"Zofia Łukasiewicz, Μαρία, Жанна, שרה, سارة, Nguyễn, 写真, 한국 😀";
    const std::string folder = makeTestFolder(ansi(L"Łódź Αθήνα 写真"));
    showDocument("", {makeEntry("a", "C")});
    GuiScript script;
    inEditor(script, [](HWND editor) { clickLink(editor, rangeOf("Title:")); });
    script.onDialog("Set title text", [&](HWND dialog) {
        SetForegroundWindow(dialog);
        typeCharacters(typed);
        pressKeys({VK_TAB});
        pressKeys({VK_RETURN});
    });
    doubleClickRow(0);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(listCell(EntryListView, 0, 0), ansi(typed));

    GuiScript save;
    save.onDialog("Save As", [&](HWND d) { chooseInFileDialog(d, folder + ansi(L"\\Babcia Łucja")); });
    command(IDM_SAVE_AS);
    EXPECT_TRUE(save.finished()) << save.problems();
    EXPECT_EQ(onlyFileIn(folder, L"*.xml"), L"Babcia Łucja.xml");
    EXPECT_EQ(windowText(MainWindow), ansi(L"Memorion - Babcia Łucja.xml"));

    showDocument("", {makeEntry("other", "C")});
    GuiScript open;
    open.onDialog("Open", [&](HWND d) { chooseInFileDialog(d, folder + ansi(L"\\Babcia Łucja.xml")); });
    command(IDM_OPEN_FILE);
    EXPECT_TRUE(open.finished()) << open.problems();
    EXPECT_EQ(listCell(EntryListView, 0, 0), ansi(typed));
    command(IDM_OPEN_FOLDER);
    ASSERT_EQ(recordedShellCalls().size(), 1u);
    EXPECT_EQ(recordedShellCalls()[0].file, folder);
}
