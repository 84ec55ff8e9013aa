#include "document/person_dialog.h"

#include <commctrl.h>

#include <string>

#include "../res/resource.h"
#include "document/memory_text.h"
#include "mainwindow/dialog_controls.h"

namespace {

// The list asks for each row's text as it draws it (owner data), so that
// a file of thousands of people opens and narrows at once.
constexpr DWORD PeopleListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                                  LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA;

struct PersonChoice {
    const std::vector<PersonSummary> *people;
    std::vector<std::string> listed; // in memory text, as the list shows them
    std::vector<int> shown;          // the people the list holds, in order
    int chosen = -1;
};

PersonChoice &choiceOf(HWND dialog)
{
    return *reinterpret_cast<PersonChoice *>(GetWindowLongPtrA(dialog, DWLP_USER));
}

HWND peopleList(HWND dialog) { return GetDlgItem(dialog, IDC_PERSON_LIST); }

void selectRow(HWND list, int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void narrow(HWND dialog)
{
    PersonChoice &choice = choiceOf(dialog);
    const std::string typed = utf8FromMemoryText(dialogItemText(dialog, IDC_PERSON_FIND));
    choice.shown = peopleMatching(*choice.people, typed);
    HWND list = peopleList(dialog);
    SendMessageA(list, LVM_SETITEMCOUNT, choice.shown.size(), 0);
    InvalidateRect(list, NULL, TRUE);
    if (!choice.shown.empty()) selectRow(list, 0);
}

void createList(HWND dialog)
{
    RECT place = {7, 26, 253, 192}; // dialog units, beside the template's controls
    MapDialogRect(dialog, &place);
    HWND list = createDialogControl(dialog, 0, WC_LISTVIEWA, "", PeopleListStyle, IDC_PERSON_LIST,
                                    place.left, place.top, place.right - place.left,
                                    place.bottom - place.top);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(list, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    const int width = place.right - place.left - GetSystemMetrics(SM_CXVSCROLL) - 4;
    addListColumn(list, 0, "Name", width - 2 * (width / 6));
    addListColumn(list, 1, "Born", width / 6);
    addListColumn(list, 2, "Died", width / 6);
    // Tab after the box goes to the list, before the buttons.
    SetWindowPos(list, GetDlgItem(dialog, IDC_PERSON_FIND), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void initialise(HWND dialog, LPARAM parameter)
{
    SetWindowLongPtrA(dialog, DWLP_USER, parameter);
    PersonChoice &choice = choiceOf(dialog);
    for (const PersonSummary &person : *choice.people) choice.listed.push_back(memoryTextFromUtf8(person.listed));
    useFontOfEveryScript(dialog, {IDC_PERSON_FIND});
    createList(dialog);
    narrow(dialog);
    SetFocus(GetDlgItem(dialog, IDC_PERSON_FIND));
}

// The row of the list: a pick by Enter or double-click.
void choose(HWND dialog, int row)
{
    PersonChoice &choice = choiceOf(dialog);
    if (row < 0 || row >= static_cast<int>(choice.shown.size())) return;
    choice.chosen = choice.shown[row];
    EndDialog(dialog, IDOK);
}

void chooseSelected(HWND dialog)
{
    choose(dialog, static_cast<int>(SendMessageA(peopleList(dialog), LVM_GETNEXTITEM, -1, LVNI_SELECTED)));
}

void showRowText(HWND dialog, NMLVDISPINFOA *request)
{
    const PersonChoice &choice = choiceOf(dialog);
    LVITEMA &item = request->item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || item.iItem >= static_cast<int>(choice.shown.size()))
        return;
    const int person = choice.shown[item.iItem];
    const std::string &text = item.iSubItem == 0   ? choice.listed[person]
                              : item.iSubItem == 1 ? (*choice.people)[person].born
                                                   : (*choice.people)[person].died;
    lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
}

void onNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDC_PERSON_LIST) return;
    if (header->code == LVN_GETDISPINFOA)
        showRowText(dialog, reinterpret_cast<NMLVDISPINFOA *>(const_cast<NMHDR *>(header)));
    else if (header->code == static_cast<UINT>(NM_DBLCLK))
        choose(dialog, reinterpret_cast<const NMITEMACTIVATE *>(header)->iItem);
}

INT_PTR CALLBACK personDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog, lParam);
        return FALSE; // the focus is set: on the box
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PERSON_FIND: if (HIWORD(wParam) == EN_CHANGE) narrow(dialog); break;
        case IDOK:            chooseSelected(dialog); break;
        case IDCANCEL:        EndDialog(dialog, IDCANCEL); break;
        }
        return TRUE;
    case WM_NOTIFY:
        onNotify(dialog, reinterpret_cast<const NMHDR *>(lParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int choosePerson(HWND owner, const std::vector<PersonSummary> &people)
{
    PersonChoice choice;
    choice.people = &people;
    DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(IDD_CHOOSE_PERSON), owner, personDialogProc,
                    reinterpret_cast<LPARAM>(&choice));
    return choice.chosen;
}
