#include "mainwindow/set_topic_dialog.h"

#include <string>

#include "../res/resource.h"
#include "document/core/document_edits.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/dialog_controls.h"
#include "mainwindow/entry_list.h"

namespace {

void initialise(HWND dialog)
{
    SetWindowTextA(dialog, "Set topic text");
    SetWindowTextA(createTextBox(dialog, IDC_TOPIC_TEXT), BiographyDocument.topic.c_str());
    layOutTextDialog(dialog, IDC_TOPIC_TEXT, IDC_TOPIC_OK, IDC_TOPIC_CANCEL);
    focusTextBox(dialog, IDC_TOPIC_TEXT, IDC_TOPIC_OK);
}

void onOk(HWND dialog)
{
    std::string topic;
    if (!acceptedEntryText(dialog, IDC_TOPIC_TEXT, topic)) return;
    edit::okTopic(topic);
    refillEntryList(currentCategory());
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK setTopicDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        // False like every answer here: the focus is set already.
        initialise(dialog);
        break;
    case WM_SIZE:
        layOutTextDialog(dialog, IDC_TOPIC_TEXT, IDC_TOPIC_OK, IDC_TOPIC_CANCEL);
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_TOPIC_OK:     onOk(dialog); break;
        case IDC_TOPIC_CANCEL:
        case IDCANCEL:         EndDialog(dialog, 0); break;
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
