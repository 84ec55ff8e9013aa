#include "mainwindow/find_entries.h"

#include <commctrl.h>

#include <string>

#include "../res/resource.h"
#include "document/core/biography_document.h"
#include "document/core/entry_search.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/dialog_controls.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"

namespace {

// What was last searched for, kept for the run so that the dialog and F3
// take it up again.
struct LastSearch {
    std::string text;
    bool matchCase = false;
};
LastSearch lastSearch;

// A byte as CharUpperBuffA or CharLowerBuffA turns it on its own. A run of
// bytes would be read as characters, a lead byte taking the next along.
unsigned char caseOf(unsigned char b, DWORD(WINAPI *turn)(LPSTR, DWORD))
{
    char c = static_cast<char>(b);
    turn(&c, 1);
    return static_cast<unsigned char>(c);
}

// UTF-8 (which the manifest asks for), or else the ANSI code page's lead
// bytes and the upper case of its characters of one byte. A byte whose
// upper case does not come back to it (a letter whose capital the code
// page lacks, given a look-alike) stays itself, so that only true case
// pairs count as the same letter.
SearchCodePage searchCodePage()
{
    if (GetACP() == CP_UTF8) return Utf8SearchCodePage;
    SearchCodePage page;
    for (int b = 0; b < 256; ++b) page.leadBytes[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE;
    for (int b = 0; b < 256; ++b) {
        const unsigned char own = static_cast<unsigned char>(b);
        page.fold[b] = own;
        if (page.leadBytes[b]) continue;
        const unsigned char capital = caseOf(own, CharUpperBuffA);
        if (caseOf(capital, CharLowerBuffA) == caseOf(own, CharLowerBuffA)) page.fold[b] = capital;
    }
    return page;
}

const SearchCodePage &codePage()
{
    static const SearchCodePage page = searchCodePage();
    return page;
}

void showFoundPlace(const ListPlace &place)
{
    // Another tab is listed first, with one refill; the list as it is
    // already shows the rows of the selected one.
    if (place.tab != selectedTabIndex()) showCategoryTab(place.tab);
    selectEntriesAlone({place.entry});
}

void sayNotFound(HWND owner, const std::string &text)
{
    const std::string message = "Cannot find \"" + text + "\".";
    MessageBoxA(owner, message.c_str(), "Find entries", MB_ICONINFORMATION | MB_OK);
}

// Searches from the first selected row on; `owner` owns the box that says
// nothing was found.
void findNext(HWND owner)
{
    if (!BiographyDocument.documentLoaded || lastSearch.text.empty()) return;
    const SearchPattern pattern =
        makeSearchPattern(lastSearch.text, lastSearch.matchCase, codePage());
    const ListPlace place =
        findNextEntry(BiographyDocument, pattern, selectedTabIndex(), firstSelectedRow());
    if (place.tab < 0) sayNotFound(owner, lastSearch.text);
    else showFoundPlace(place);
}

void initialise(HWND dialog)
{
    SetWindowTextA(dialog, "Find entries");
    HWND box = GetDlgItem(dialog, IDC_FIND_TEXT);
    useFontOfEveryScript(dialog, {IDC_FIND_TEXT});
    SetWindowTextA(box, lastSearch.text.c_str());
    SendMessageA(box, EM_SETSEL, 0, -1);
    CheckDlgButton(dialog, IDC_FIND_MATCH_CASE, lastSearch.matchCase ? BST_CHECKED : BST_UNCHECKED);
    SetFocus(box);
}

void onFindNext(HWND dialog)
{
    lastSearch.text = dialogItemText(dialog, IDC_FIND_TEXT);
    lastSearch.matchCase = IsDlgButtonChecked(dialog, IDC_FIND_MATCH_CASE) == BST_CHECKED;
    findNext(dialog);
}

INT_PTR CALLBACK findEntriesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog);
        return FALSE; // the focus is set: on the text
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:     onFindNext(dialog); break;
        case IDCANCEL: EndDialog(dialog, 0); break;
        }
        return TRUE;
    }
    return FALSE;
}

} // namespace

void runFindEntriesDialog(HWND owner)
{
    if (!BiographyDocument.documentLoaded) return;
    DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(IDD_FIND_ENTRIES), owner,
                    findEntriesDialogProc, 0);
}

void findNextEntryAgain(HWND owner)
{
    if (lastSearch.text.empty()) runFindEntriesDialog(owner);
    else findNext(owner);
}

void forgetLastSearch()
{
    lastSearch = LastSearch();
}
