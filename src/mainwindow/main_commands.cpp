#include "../res/resource.h"
#include "about/about_dialog.h"
#include "document/core/biography_document.h"
#include "document/document_files.h"
#include "document/family_tree_commands.h"
#include "document/new_file_dialog.h"
#include "document/web_page_export.h"
#include "mainwindow/category_commands.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/find_entries.h"
#include "mainwindow/main_window.h"
#include "mainwindow/set_topic_dialog.h"
#include "mainwindow/shell_handoff.h"
#include "mainwindow/undo_commands.h"
#include "personality/personality_folder_dialog.h"

namespace {

void viewCode()
{
    if (BiographyDocument.filePath.empty()) return;
    openBiographyWithItsProgram(MainWindow, BiographyDocument.filePath);
}

void viewCodeInNotepad()
{
    const std::string notepad = systemNotepad();
    if (BiographyDocument.filePath.empty() || notepad.empty()) return;
    // The path is the whole parameter string: notepad takes its entire
    // command line as the file name, blanks included.
    shellExecute(MainWindow, "open", notepad.c_str(), BiographyDocument.filePath.c_str(), NULL,
                 SW_SHOWNORMAL);
}

void openContainingFolder()
{
    shellExecute(MainWindow, "explore", BiographyDocument.workingFolder.c_str(), NULL, NULL,
                 SW_SHOWNORMAL);
}

void newBiographyFile(HWND window)
{
    if (runNewBiographyFileDialog(window)) showDocument();
}

void openBiographyFile(HWND window)
{
    LoadReport report;
    if (openDocument(window, report)) showOpenedDocument(report);
}

void saveUnderNewName(HWND window)
{
    if (saveDocumentAs(window)) showDocumentName();
}

// A biography recovered after its file changed has no file until it is
// given one.
void saveToOwnPath(HWND window)
{
    if (BiographyDocument.filePath.empty()) saveUnderNewName(window);
    else saveDocument(BiographyDocument.filePath);
}

} // namespace

void dispatchMainCommand(HWND window, int id)
{
    switch (id) {
    case IDM_NEW_FILE:          newBiographyFile(window); break;
    case IDM_OPEN_FILE:         openBiographyFile(window); break;
    case IDM_SAVE:              saveToOwnPath(window); break;
    case IDM_SAVE_AS:           saveUnderNewName(window); break;
    case IDM_EXPORT_WEB_PAGE:   exportWebPage(window); break;
    case IDM_IMPORT_FAMILY_TREE: importFamilyTree(window); break;
    case IDM_EXPORT_FAMILY_TREE: exportFamilyTree(window); break;
    case IDM_VIEW_CODE:         viewCode(); break;
    case IDM_VIEW_CODE_NOTEPAD: viewCodeInNotepad(); break;
    case IDM_OPEN_FOLDER:       openContainingFolder(); break;
    case IDM_EXIT:              closeMainWindow(); break;
    case IDM_UNDO:              undoLastStep(); break;
    case IDM_REDO:              redoNextStep(); break;
    case IDM_SET_TOPIC:         runSetTopicDialog(window); break;
    case IDM_ADD_ENTRY:         addEntry(); break;
    case IDM_DELETE_ENTRIES:    deleteSelectedEntries(); break;
    case IDM_MOVE_TO_CATEGORY:  runMoveToCategoryDialog(window); break;
    case IDM_FIND_ENTRIES:      runFindEntriesDialog(window); break;
    case IDM_FIND_NEXT:         findNextEntryAgain(window); break;
    case IDM_NEW_CATEGORY:      runNewCategoryDialog(window); break;
    case IDM_DELETE_CATEGORY:   deleteCategory(selectedTabIndex()); break;
    case IDM_RENAME_CATEGORY:   runRenameCategoryDialog(window); break;
    case IDM_PERSONALITY_FOLDER: runPersonalityFolderDialog(window); break;
    case IDM_ABOUT:             runAboutDialog(window); break;
    }
}
