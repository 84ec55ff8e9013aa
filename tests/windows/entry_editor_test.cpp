#include "editor_steps.h"

#include "../res/resource.h"
#include "entryedit/entry_editor.h"
#include "mainwindow/entry_list.h"

using EntryEditorTest = MainWindowFixture;

namespace {

Entry fullEntry()
{
    return Entry{"Born", "01/02/03", "childhood", "Leeds", "first\r\nsecond", "family",
                 "\"C:\\a.jpg\"\"D:\\b c.txt\"", "Life"};
}

void expectFormat(CHARRANGE range, bool link, const std::string &text)
{
    SendMessageA(EntryRichText, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    SendMessageA(EntryRichText, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    // Values are set plain; headings leave bold and italic as they are.
    const DWORD plain = link ? 0 : CFM_BOLD | CFM_ITALIC;
    const DWORD uniform = CFM_LINK | CFM_SIZE | CFM_FACE | CFM_COLOR | plain;
    EXPECT_EQ(format.dwMask & uniform, uniform) << "one format all through \"" << text << "\"";
    EXPECT_EQ(format.dwEffects & (CFE_LINK | plain), link ? CFE_LINK : 0u) << text;
    EXPECT_EQ(format.yHeight, link ? 280 : 265) << text;
    EXPECT_STREQ(format.szFaceName, link ? "Arial" : "Helvetica") << text;
    EXPECT_EQ(format.crTextColor, RGB(0, 0, 0)) << text;
}

const char *const FieldCaptions[] = {
    "Set title text",    "Set entry date text", "Set time period text",
    "Set location text", "Set detail text",     "Set keywords text",
};
const char *const Headings[] = {"Title:", "Entry date:", "Time period:",
                                "Location:", "Detail:", "Keywords:"};

} // namespace

TEST_F(EntryEditorTest, ShowsEveryFieldUnderItsLinkedHeading)
{
    // Headings (links) and values alternate; the paths share the last link.
    const std::vector<std::string> full = {
        "Title:\r", "Born\r\r", "Entry date:\r", "01/02/03\r\r", "Time period:\r",
        "childhood\r\r", "Location:\r", "Leeds\r\r", "Detail:\r", "first\rsecond\r\r",
        "Keywords:\r", "family\r\r", "Associated files:\rC:\\a.jpg\rD:\\b c.txt\r"};
    const std::vector<std::string> empty = {
        "Title:\r", "\r\r", "Entry date:\r", "\r\r", "Time period:\r", "\r\r", "Location:\r",
        "\r\r", "Detail:\r", "\r\r", "Keywords:\r", "\r\r", "Associated files:\r"};
    showDocument("", {fullEntry(), makeEntry("", "Life")});
    for (int row = 0; row < 2; ++row) {
        const std::vector<std::string> &runs = row == 0 ? full : empty;
        GuiScript script;
        inEditor(script, [&](HWND editor) {
            EXPECT_EQ(GetWindow(editor, GW_OWNER), MainWindow);
            std::string whole;
            for (const std::string &run : runs) whole += run;
            ASSERT_EQ(editorText(), whole);
            LONG start = 0;
            for (size_t i = 0; i < runs.size(); ++i) {
                const LONG end = start + static_cast<LONG>(runs[i].size());
                expectFormat(CHARRANGE{start, end}, i % 2 == 0, runs[i]);
                start = end;
            }
        });
        doubleClickRow(row);
        EXPECT_TRUE(script.finished()) << script.problems();
    }
}

TEST_F(EntryEditorTest, LinksOpenTheirDialogOnButtonUpOnly)
{
    showDocument("", {fullEntry()});
    HWND shownEditor = NULL;
    GuiScript script;
    inEditor(script, [&](HWND editor) {
        shownEditor = editor;
        for (const char *heading : Headings)
            for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_SETCURSOR, WM_LBUTTONUP})
                clickLink(editor, rangeOf(heading), mouse);
        // A click on a path opens the files, whether the control names the
        // whole link or only the path's line ("D:..." as in "Detail:").
        const CHARRANGE files = rangeOf("Associated files:"), path = rangeOf("D:\\b c.txt");
        clickLink(editor, CHARRANGE{files.cpMin, path.cpMax});
        clickLink(editor, path, WM_LBUTTONDOWN);
        clickLink(editor, path);
    });
    for (const char *caption : FieldCaptions) script.press(caption, IDC_FIELD_CANCEL);
    inDialog(script, "Associated files", [](HWND) {});
    inDialog(script, "Associated files", [](HWND) {});
    doubleClickRow(0);

    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 9u);
    for (size_t i = 1; i < 9; ++i)
        EXPECT_EQ(script.seen()[i].owner, shownEditor) << script.seen()[i].caption;
    EXPECT_FALSE(BiographyDocument.modified);
}

// Through the system's input queue, as a user clicks, not a notification
// made up by the test.
TEST_F(EntryEditorTest, AMouseClickOnAHeadingOpensItsDialog)
{
    showDocument("", {fullEntry()});
    bool opened = false;
    GuiScript script;
    inEditor(script, [&](HWND editor) {
        SetForegroundWindow(editor);
        POINTL character = {};
        SendMessageA(EntryRichText, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&character),
                     rangeOf("Location:").cpMin + 1);
        POINT at = {character.x + 2, character.y + 5};
        ClientToScreen(EntryRichText, &at);
        SetCursorPos(at.x, at.y);
        INPUT click[2] = {};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        EXPECT_EQ(SendInput(2, click, sizeof click[0]), 2u);
        for (int waited = 0; !opened && waited < 3000; waited += 50) pumpFor(50);
    });
    script.onDialog("Set location text", [&](HWND dialog) {
        opened = true;
        clickButton(dialog, IDC_FIELD_CANCEL);
    });
    doubleClickRow(0);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_TRUE(opened);
}

TEST_F(EntryEditorTest, EveryFieldRefusesMarkupAndKeepsItsValue)
{
    showDocument("", {fullEntry()});
    GuiScript script;
    inEditor(script, [](HWND editor) {
        for (const char *heading : Headings) clickLink(editor, rangeOf(heading));
    });
    std::vector<HWND> refusing; // the dialog of each refusal
    for (const char *caption : FieldCaptions) {
        for (const char *text : {"a<b", "a>b", "Tom & Ann"}) {
            script.onDialog(caption, [text, &refusing](HWND d) {
                refusing.push_back(d);
                typeAndPress(d, text, IDC_FIELD_OK);
            });
            script.press("Error", IDOK);
        }
        script.press(caption, IDC_FIELD_CANCEL);
    }
    doubleClickRow(0);

    EXPECT_TRUE(script.finished()) << script.problems();
    int boxes = 0;
    for (const SeenDialog &seen : script.seen()) {
        if (seen.caption != "Error") continue;
        expectBox(seen, "Error", "Entry text contains invalid characters.", MB_ICONEXCLAMATION,
                  MB_OK);
        ASSERT_LT(static_cast<size_t>(boxes), refusing.size());
        EXPECT_EQ(seen.owner, refusing[boxes]) << "the dialog cannot be used meanwhile";
        EXPECT_FALSE(seen.ownerEnabled);
        ++boxes;
    }
    EXPECT_EQ(boxes, 18);
    for (const EntryField &field : EntryFields)
        EXPECT_EQ(entryAt(0).*field.value, fullEntry().*field.value);
    EXPECT_FALSE(BiographyDocument.modified);
}

TEST_F(EntryEditorTest, OkStoresWhatWasTypedCancelAndCloseStoreNothing)
{
    showDocument("", {fullEntry()});
    GuiScript script;
    bool modifiedAfterCancel = true, modifiedAfterOk = false;
    std::string shownWhileOpen, listWhileOpen;
    inEditor(script, [&](HWND editor) {
        for (const char *heading : {"Detail:", "Keywords:"}) clickLink(editor, rangeOf(heading));
        modifiedAfterCancel = BiographyDocument.modified;
        clickLink(editor, rangeOf("Time period:"));
        modifiedAfterOk = BiographyDocument.modified;
        for (const char *heading : {"Title:", "Location:"}) clickLink(editor, rangeOf(heading));
        shownWhileOpen = editorText();
        listWhileOpen = listCell(EntryListView, 0, 0);
    });
    script.onDialog("Set detail text", [](HWND d) { typeAndPress(d, "x", IDC_FIELD_CANCEL); });
    script.onDialog("Set keywords text", [](HWND d) {
        SetDlgItemTextA(d, IDC_FIELD_EDIT, "x");
        PostMessageA(d, WM_CLOSE, 0, 0);
    });
    script.press("Set time period text", IDC_FIELD_OK);
    script.onDialog("Set title text", [](HWND d) {
        HWND edit = GetDlgItem(d, IDC_FIELD_EDIT);
        SetWindowTextA(edit, "one");
        SendMessageA(edit, EM_SETSEL, 3, 3);
        // Return as typed: the dialog's loop decides whether it breaks the
        // line or presses the default button.
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(edit, WM_CHAR, '\r', 0);
        PostMessageA(edit, WM_CHAR, 't', 0);
        clickButton(d, IDC_FIELD_OK);
    });
    script.onDialog("Set location text", [](HWND d) { typeAndPress(d, "", IDC_FIELD_OK); });
    doubleClickRow(0);

    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_FALSE(modifiedAfterCancel);
    EXPECT_TRUE(modifiedAfterOk);
    EXPECT_EQ(BiographyDocument.detail[0], fullEntry().detail);
    EXPECT_EQ(BiographyDocument.keywords[0], fullEntry().keywords);
    EXPECT_EQ(BiographyDocument.title[0], "one\r\nt");
    EXPECT_EQ(BiographyDocument.location[0], "");
    EXPECT_EQ(shownWhileOpen.rfind("Title:\rone\rt\r\rEntry date:", 0), 0u) << shownWhileOpen;
    EXPECT_NE(shownWhileOpen.find("Location:\r\r\rDetail:"), std::string::npos) << shownWhileOpen;
    EXPECT_EQ(listWhileOpen, "Born");
    EXPECT_EQ(listCell(EntryListView, 0, 0), "one\r\nt");
}

TEST_F(EntryEditorTest, TheTextFillsTheEditorAtEverySize)
{
    showDocument("", {fullEntry()});
    GuiScript script;
    inEditor(script, [](HWND editor) {
        for (int size : {0, 1, 2}) {
            if (size == 1) ShowWindow(editor, SW_MAXIMIZE);
            else SetWindowPos(editor, NULL, 0, 0, 300 + 200 * size, 250, SWP_NOMOVE | SWP_NOZORDER);
            RECT client, text = childRect(EntryRichText);
            GetClientRect(editor, &client);
            EXPECT_TRUE(EqualRect(&text, &client)) << "size " << size;
        }
    });
    doubleClickRow(0);
    EXPECT_TRUE(script.finished()) << script.problems();
}

TEST_F(EntryEditorTest, ALongDetailSurvivesTheEditorSaveAndOpen)
{
    // Many lines: one long paragraph lays out very slowly in some rich
    // edit controls.
    std::string detail, shownDetail;
    for (int line = 0; detail.size() < 100000; ++line) {
        const std::string text(78, static_cast<char>('a' + line % 26));
        detail += text + "\r\n";
        shownDetail += text + "\r";
    }
    Entry entry = fullEntry();
    entry.detail = detail;
    showDocument("", {entry});
    const std::string path = makeTestFolder("long-detail") + "\\long.xml";
    setDocumentPath(path);

    GuiScript script;
    bool shownWhole = false, editable = false;
    CHARRANGE selection = {-1, -1};
    LRESULT firstLine = -1, placeBeforeOk = -1, placeAfterOk = -1;
    const auto firstVisibleLine = [] {
        return SendMessageA(EntryRichText, EM_GETFIRSTVISIBLELINE, 0, 0);
    };
    inEditor(script, [&](HWND editor) {
        // It opens at "Title:", nothing selected.
        SendMessageA(EntryRichText, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        firstLine = firstVisibleLine();
        shownWhole = editorText().find("Detail:\r" + shownDetail + "\r\r") != std::string::npos;
        // A change redraws the text where the reader was.
        SendMessageA(EntryRichText, EM_LINESCROLL, 0, 300);
        placeBeforeOk = firstVisibleLine();
        clickLink(editor, rangeOf("Detail:"));
        placeAfterOk = firstVisibleLine();
    });
    script.onDialog("Set detail text", [&](HWND d) {
        // The whole text is there and can still be added to.
        HWND edit = GetDlgItem(d, IDC_FIELD_EDIT);
        SendMessageA(edit, EM_SETSEL, detail.size(), detail.size());
        SendMessageA(edit, WM_CHAR, 'x', 0);
        editable = GetWindowTextLengthA(edit) == static_cast<int>(detail.size()) + 1;
        SendMessageA(edit, WM_CHAR, VK_BACK, 0);
        clickButton(d, IDC_FIELD_OK);
    });
    doubleClickRow(0);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(selection.cpMin, 0);
    EXPECT_EQ(selection.cpMax, 0);
    EXPECT_EQ(firstLine, 0);
    EXPECT_GT(placeBeforeOk, 0);
    EXPECT_EQ(placeAfterOk, placeBeforeOk);
    EXPECT_TRUE(shownWhole);
    EXPECT_TRUE(editable);

    command(IDM_SAVE);
    resetDocument();
    GuiScript open;
    open.onDialog("Open", [&](HWND d) { chooseInFileDialog(d, path); });
    command(IDM_OPEN_FILE);
    EXPECT_TRUE(open.finished()) << open.problems();
    EXPECT_EQ(BiographyDocument.detail[0], detail);
}
