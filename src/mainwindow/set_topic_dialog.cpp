#include "mainwindow/set_topic_dialog.h"

#include <string>

#include "../res/resource.h"
#include "document/biography_document.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/dialog_controls.h"
#include "mainwindow/entry_list.h"

namespace {

constexpr DWORD TopicBoxStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                                ES_WANTRETURN;
static_assert(TopicBoxStyle == 0x50211004, "topic box style");

// The buttons keep their places whatever the size; only the box grows.
void layOut(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(GetDlgItem(dialog, IDC_TOPIC_TEXT), 0, 0, client.right, client.bottom - 35, TRUE);
    MoveWindow(GetDlgItem(dialog, IDC_TOPIC_OK), 5, 130, 80, 30, TRUE);
    MoveWindow(GetDlgItem(dialog, IDC_TOPIC_CANCEL), 90, 130, 80, 30, TRUE);
}

void initialise(HWND dialog)
{
    SetWindowTextA(dialog, "Set topic text");
    HWND box = createDialogControl(dialog, WS_EX_CLIENTEDGE, "EDIT", "", TopicBoxStyle,
                                   IDC_TOPIC_TEXT, 0, 0, 100, 100);
    // A topic read from a file may be longer than an edit box takes by
    // default; without this it could not be edited, not even shortened
    // by typing.
    SendMessageA(box, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextA(box, BiographyDocument.topic.c_str());
    layOut(dialog);
}

void onOk(HWND dialog)
{
    const std::string topic = dialogItemText(dialog, IDC_TOPIC_TEXT);
    if (!isValidEntryText(topic)) {
        MessageBoxA(NULL, InvalidTextMessage, "Error", MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    BiographyDocument.topic = topic;
    BiographyDocument.modified = true;
    refillEntryList(currentCategory());
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK setTopicDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        // False like every answer here: the dialog manager sets no focus.
        initialise(dialog);
        break;
    case WM_SIZE:
        layOut(dialog);
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_TOPIC_OK:     onOk(dialog); break;
        case IDC_TOPIC_CANCEL: EndDialog(dialog, 0); break;
        }
        break;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        break;
    }
    return FALSE;
}

} // namespace

void runSetTopicDialog(HWND owner)
{
    DialogBoxParamA(instanceOf(owner), MAKEINTRESOURCEA(IDD_SET_TOPIC), owner, setTopicDialogProc,
                    0);
}
