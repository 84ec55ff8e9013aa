#include "entryedit/entry_editor.h"

#include <richedit.h>

#include <climits>
#include <cstring>
#include <string>

#include "../res/resource.h"
#include "document/core/biography_document.h"
#include "entryedit/associated_files_dialog.h"
#include "entryedit/editor_headings.h"
#include "entryedit/field_input_dialog.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/dialog_controls.h"
#include "mainwindow/system_libraries.h"
#include "mainwindow/text_buffers.h"

HWND EntryRichText;

namespace {

// Heights are in twips.
CHARFORMATA makeValueFormat()
{
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_BOLD | CFM_ITALIC;
    format.yHeight = 265;
    format.crTextColor = RGB(0, 0, 0);
    std::strcpy(format.szFaceName, "Helvetica");
    return format;
}

CHARFORMATA makeHeadingFormat()
{
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_LINK;
    format.dwEffects = CFE_LINK;
    format.yHeight = 280;
    format.crTextColor = RGB(0, 0, 0);
    std::strcpy(format.szFaceName, "Arial");
    return format;
}

const CHARFORMATA valueFormat = makeValueFormat();
const CHARFORMATA headingFormat = makeHeadingFormat();

// Where the "Associated files:" heading begins in the text.
LONG filesLinkStart;

// The format is set before every run: a format set on an empty selection
// does not reliably carry over to a second insertion.
void insertRun(const CHARFORMATA &format, const std::string &text)
{
    SendMessageA(EntryRichText, EM_SETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
    SendMessageA(EntryRichText, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

// ES_SAVESEL: the dialog manager selects the whole text of a control it
// gives the focus to unless the control keeps its own selection; the
// editor would then open with everything selected and scrolled to the end.
HWND createRichTextWindow(HWND dialog)
{
    constexpr DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_SUNKEN | ES_READONLY |
                            ES_MULTILINE | ES_SAVESEL;
    return createDialogControl(dialog, WS_EX_LEFTSCROLLBAR, "RichEdit20A", "", style,
                               IDC_EDITOR_TEXT, 0, 0, 100, 300);
}

// The libraries stay loaded for the rest of the run.
HWND createRichText(HWND dialog)
{
    loadSystemLibrary("riched32.dll");
    HWND text = createRichTextWindow(dialog);
    if (text) return text;
    // Where the older library does not register the class, the newer one
    // does.
    loadSystemLibrary("riched20.dll");
    return createRichTextWindow(dialog);
}

void fillClientArea(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(GetDlgItem(dialog, IDC_EDITOR_TEXT), 0, 0, client.right, client.bottom, TRUE);
}

void initialise(HWND dialog)
{
    HANDLE smallIcon = LoadImageA(instanceOf(dialog), MAKEINTRESOURCEA(IDI_MEMORION), IMAGE_ICON,
                                  16, 16, LR_SHARED);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    SetWindowTextA(dialog, "Entry editor");
    EntryRichText = createRichText(dialog);
    if (!EntryRichText)
        MessageBoxA(dialog, "Could not create edit box.", "Error", MB_ICONERROR | MB_OK);
    // Without this the control keeps 64K characters at most; a long
    // detail would be shown cut.
    SendMessageA(EntryRichText, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SendMessageA(EntryRichText, EM_SETEVENTMASK, 0, ENM_LINK);
    SetWindowLongPtrA(dialog, GWL_STYLE, GetWindowLongPtrA(dialog, GWL_STYLE) | WS_MAXIMIZEBOX);
    fillClientArea(dialog);
    fillEntryEditor();
}

// Nothing selected, and the text scrolled to `place`: the top, where
// "Title:" is, when the editor opens; where the reader was, when it is
// redrawn after a change.
void showWithNothingSelected(POINT place)
{
    CHARRANGE start = {0, 0};
    SendMessageA(EntryRichText, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessageA(EntryRichText, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&place));
}

LONG insertionPoint()
{
    CHARRANGE selection = {0, 0};
    SendMessageA(EntryRichText, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    return selection.cpMin;
}

// The file paths belong to the link of their heading, but some rich edit
// controls report a click on a path with the path's own line only, which
// may begin with the letters of another heading ("D:\...").
CHARRANGE wholeLink(CHARRANGE clicked)
{
    if (clicked.cpMin > filesLinkStart) clicked.cpMin = filesLinkStart;
    return clicked;
}

std::string linkText(const ENLINK &link)
{
    return textRange(EntryRichText, wholeLink(link.chrg));
}

void openLinkedDialog(HWND dialog, const EditorHeading &heading)
{
    if (&heading == &FilesHeading)
        runAssociatedFilesDialog(dialog);
    else
        runFieldInputDialog(dialog, heading);
}

// Only the button going up opens a dialog: moving over a link or pressing
// the button on it must not. The file paths belong to the files link, so
// their text begins with its letters.
void onLink(HWND dialog, const ENLINK &link)
{
    if (link.msg != WM_LBUTTONUP || link.chrg.cpMax <= link.chrg.cpMin) return;
    const std::string text = linkText(link);
    for (const EditorHeading &heading : EditorHeadings) {
        if (text.compare(0, std::strlen(heading.linkPrefix), heading.linkPrefix) != 0) continue;
        openLinkedDialog(dialog, heading);
        return;
    }
}

// The entry shown is selected again after the refill, so that Enter opens
// it once more; it is still listed, as the editor changes no category.
void close(HWND dialog)
{
    const int shown = firstSelectedEntryIndex();
    EndDialog(dialog, 0);
    EntryRichText = NULL;
    refillEntryList(currentCategory());
    if (shown >= 0) selectEntriesAlone({shown});
}

} // namespace

void runEntryEditor(HWND owner)
{
    DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(IDD_ENTRY_EDITOR), owner,
                    entryEditorDialogProc, 0);
}

void fillEntryEditor()
{
    if (!EntryRichText) return;
    filesLinkStart = LONG_MAX;
    POINT place = {0, 0};
    SendMessageA(EntryRichText, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&place));
    SendMessageA(EntryRichText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    const int index = firstSelectedEntryIndex();
    if (index < 0) return;
    const Biography &d = BiographyDocument;
    for (const EditorHeading &heading : EditorHeadings) {
        if (&heading == &FilesHeading) break;
        insertRun(headingFormat, headingText(heading) + "\n");
        insertRun(valueFormat, (d.*heading.column)[index] + "\n\n");
    }
    // The paths continue the heading's link. They go in with it in one
    // piece: a thousand separate insertions take many seconds to lay out.
    std::string files = headingText(FilesHeading) + "\n";
    for (const std::string &path : listedFiles((d.*FilesHeading.column)[index]))
        files += path + "\n";
    filesLinkStart = insertionPoint();
    insertRun(headingFormat, files);
    showWithNothingSelected(place);
}

INT_PTR CALLBACK entryEditorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog);
        return FALSE;
    case WM_SIZE:
        fillClientArea(dialog);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR *>(lParam)->code == EN_LINK)
            onLink(dialog, *reinterpret_cast<const ENLINK *>(lParam));
        return FALSE;
    case WM_COMMAND:
        // Esc closes it like the close box.
        if (LOWORD(wParam) == IDCANCEL) close(dialog);
        return TRUE;
    case WM_CLOSE:
        close(dialog);
        return TRUE;
    }
    return FALSE;
}
