// Everything the soak test does, one row per thing a user can do, and the
// answers it gives the file and folder dialogs. A new command is one more
// row in the table at the end.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "../res/resource.h"
#include "document/core/biography_writer.h"
#include "document/core/document_history.h"
#include "document/document_files.h"
#include "document/file_dialogs.h"
#include "editor_steps.h"
#include "entryedit/associated_files_dialog.h"
#include "entryedit/editor_headings.h"
#include "entryedit/entry_editor.h"
#include "main_window_fixture.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/dialog_controls.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/message_loop.h"
#include "personality/folder_browser.h"
#include "soak_checks.h"
#include "soak_driver.h"

namespace {

// What the program may say, by a part of the message.
const char SaveChanges[] = "Save changes?";
const char SaveFailed[] = "could not be saved";
const char NotBiography[] = "Not a valid biography file";
const char Unreadable[] = "could not be opened";
const char PathTooLong[] = "The path of the chosen file is too long";
const char HoldsMore[] = "holds more than Memorion can show";
const char TooLarge[] = "is too large to open";
const char EntriesFull[] = "already holds 1024 entries";
const char DeleteSelected[] = "Delete selected?";
const char InvalidText[] = "Entry text contains invalid characters.";
const char CategoryPresent[] = "Category already present.";
const char CategoryEmpty[] = "Category name cannot be empty.";
const char CategoriesFull[] = "already holds 500 categories";
const char DefaultInUse[] = "Cannot delete 'Default' category";
const char LastCategory[] = "There must be at least one category.";
const char FileMissing[] = "File does not exist";
const char MayBeProgram[] = "may be a program";
const char FilesFull[] = "already names 1024 files";
const char UnlistedFiles[] = "Memorion can list";
const char NoTemplate[] = "No template selected.";
const char NoFileName[] = "No file name specified.";
const char NoFolderName[] = "No folder name specified.";
const char FolderFailed[] = "Failed to create personality folder";
const char NotFound[] = "Cannot find \"";
const char RecoverQuestion[] = "closed without saving";
const char LostForGood[] = "will be lost for good";

constexpr size_t FilesHeadingIndex = std::size(EditorHeadings) - 1;

Biography &doc()
{
    return BiographyDocument;
}

// ---- what the user types

// Letters of several scripts and one beyond the Basic Multilingual Plane,
// as the program holds them. Not U+02DC: Wine 8.0's edit control crashes as
// it lays it out.
const std::string &otherScriptCharacter(Soak &s)
{
    static const std::vector<std::string> characters = [] {
        std::vector<std::string> list;
        for (const wchar_t *c : {L"é", L"Ł", L"ő", L"€", L"Σ", L"ω", L"Ж", L"я", L"ש", L"ع", L"ễ",
                                 L"写", L"の", L"한", L"😀"})
            list.push_back(ansi(c));
        return list;
    }();
    return characters[s.below(static_cast<int>(characters.size()))];
}

std::string plainCharacter(Soak &s)
{
    const int kind = s.below(100);
    if (kind < 4) return "\t";
    if (kind < 24) return otherScriptCharacter(s);
    char c;
    do c = static_cast<char>(0x20 + s.below(0x5F));
    while (c == '<' || c == '>' || c == '&');
    return std::string(1, c);
}

size_t randomLength(Soak &s)
{
    const int band = s.below(100);
    if (band < 8) return 0;
    if (band < 45) return 1 + s.below(20);
    if (band < 80) return 20 + s.below(100);
    if (band < 95) return 120 + s.below(1000);
    if (band < 99) return 1000 + s.below(5000);
    return 5000 + s.below(15001);
}

// Text as typed into a multi-line box: up to 20 000 bytes, line breaks,
// letters of several scripts, and now and then a character the entry text
// rule refuses. Lines stay short: long paragraphs make rich edit crawl.
std::string randomText(Soak &s)
{
    const size_t length = randomLength(s);
    std::string text;
    size_t lineLength = 0;
    while (text.size() < length) {
        if ((s.below(50) == 0 || lineLength >= 150) && text.size() + 2 <= length) {
            text += "\r\n";
            lineLength = 0;
            continue;
        }
        text += plainCharacter(s);
        ++lineLength;
    }
    if (s.percent(8)) {
        size_t at = s.below(static_cast<int>(text.size()) + 1);
        while (at < text.size() && (text[at] & 0xC0) == 0x80) ++at; // not inside a character
        text.insert(at, 1, "<>&"[s.below(3)]);
    }
    return text;
}

std::string randomWord(Soak &s, size_t length)
{
    std::string word;
    while (word.size() < length) word += plainCharacter(s);
    return word;
}

std::string someCategory(Soak &s)
{
    return doc().categoryCount ? doc().categories[s.below(doc().categoryCount)] : "Default";
}

std::string otherCase(std::string name)
{
    for (char &c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return name;
}

// Names a user might give a category: taken, differing only in case,
// holding a quote or refused characters, empty, 255 bytes, or new.
std::string randomCategoryName(Soak &s)
{
    static const std::string words[] = {"Family", "Work", "Travel", ansi(L"Καφές"), "Default", "Ideas"};
    switch (s.below(10)) {
    case 0: return someCategory(s);
    case 1: return otherCase(someCategory(s));
    case 2: return "Say \"hi\"";
    case 3: return "";
    case 4: return randomWord(s, 255);
    case 5: return "R&D <" + words[s.below(6)] + ">";
    case 6: return randomWord(s, 1 + s.below(12));
    default: return words[s.below(6)] + (s.percent(50) ? "" : " ") +
                    std::to_string(s.below(4));
    }
}

// ---- the main window

bool hasDocument(Soak &)
{
    return doc().documentLoaded;
}

bool hasRows(Soak &)
{
    return doc().documentLoaded && listRowCount(EntryListView) > 0;
}

bool hasTabs(Soak &)
{
    return doc().documentLoaded && doc().categoryCount > 0;
}

template <int Id>
bool menuEnabled(Soak &)
{
    return !menuItemGreyed(MainWindow, Id);
}

template <int Id>
void menuCommand(Soak &)
{
    SendMessageA(MainWindow, WM_COMMAND, MAKEWPARAM(Id, 0), 0);
}

void selectNoRow()
{
    selectListRow(EntryListView, -1, false);
}

void selectRows(Soak &s, int count)
{
    selectNoRow();
    const int rows = listRowCount(EntryListView);
    for (int i = 0; i < count; ++i) selectListRow(EntryListView, s.below(rows), true);
}

void selectNone(Soak &) { selectNoRow(); }
void selectOne(Soak &s) { selectRows(s, 1); }
void selectSeveral(Soak &s) { selectRows(s, 2 + s.below(4)); }

void chooseTab(Soak &s)
{
    SendMessageA(CategoryTabs, TCM_SETCURFOCUS, s.below(doc().categoryCount), 0);
}

// What a user's double-click on a row does: the first click selects the
// row alone.
void doubleClickRow(Soak &s)
{
    const int row = s.below(listRowCount(EntryListView));
    selectNoRow();
    selectListRow(EntryListView, row, true);
    SendMessageA(EntryListView, LVM_ENSUREVISIBLE, row, FALSE);
    const POINT at = rowPoint(EntryListView, row);
    SendMessageA(EntryListView, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

// Below the last row: the first click selects nothing.
void doubleClickBelowRows(Soak &)
{
    selectNoRow();
    RECT client;
    GetClientRect(EntryListView, &client);
    SendMessageA(EntryListView, WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM(client.right / 2, client.bottom - 3));
}

void doubleClickStatusBar(Soak &)
{
    SendMessageA(StatusBar, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 5));
}

// The entry list after the selected rows have gone, or unchanged after No.
void checkDeletion(Soak &s)
{
    std::shared_ptr<Biography> before(copyOfDocument().release());
    const std::vector<int> doomed = selectedEntryIndices();
    const bool wasModified = doc().modified;
    s.noteAnswer(0);
    s.afterStep([&s, before, doomed, wasModified](std::string &failure) {
        if (s.place() == Place::MessageBox) return false;
        Biography &expected = *before;
        const bool yes = s.lastAnswer() == IDYES;
        if (yes) {
            std::vector<int> kept;
            for (int e = 0; e < expected.entryCount; ++e)
                if (std::find(doomed.begin(), doomed.end(), e) == doomed.end()) kept.push_back(e);
            for (const EntryField &field : EntryFields)
                for (size_t i = 0; i < kept.size(); ++i)
                    (expected.*field.column)[i] = (expected.*field.column)[kept[i]];
            expected.entryCount = static_cast<int>(kept.size());
        }
        failure = documentDifference(doc(), expected, Compare::Exact);
        if (!failure.empty()) failure = "after deleting entries: " + failure;
        else if (doc().modified != (wasModified || (yes && !doomed.empty())))
            failure = "deleting entries left modified " + std::to_string(doc().modified);
        return true;
    });
}

void deleteByMenu(Soak &s)
{
    checkDeletion(s);
    menuCommand<IDM_DELETE_ENTRIES>(s);
}

void deleteByKey(Soak &s)
{
    checkDeletion(s);
    SendMessageA(EntryListView, WM_KEYDOWN, VK_DELETE, 0);
}

void addEntryByMenu(Soak &s)
{
    const int count = doc().entryCount;
    const int category = currentCategory();
    const std::string name = category >= 0 ? doc().categories[category] : "Default";
    s.afterStep([count, name](std::string &failure) {
        const Biography &d = doc();
        if (count == MaxEntries) {
            if (d.entryCount != count) failure = "an entry was added to a full document";
            return true;
        }
        const int last = d.entryCount - 1;
        if (d.entryCount != count + 1 || d.title[last] != "New entry" ||
            d.entryDate[last] != todayDayMonthYear() || d.category[last] != name ||
            !d.modified || currentCategory() < 0 || d.categories[currentCategory()] != name)
            failure = "\"Add entry\" did not add \"New entry\" of today to the shown category";
        return true;
    });
    menuCommand<IDM_ADD_ENTRY>(s);
}

// "View code", "View code in notepad" and "Open containing folder" hand
// the shell what they name.
template <int Id>
void shellCommand(Soak &s)
{
    recordedShellCalls().clear();
    const std::string path = doc().filePath;
    // View code tells of a file that is not there (a new biography whose
    // file could not be written); a biography recovered without its file
    // has nothing to view. The folder is explored as it stands.
    const bool viewed =
        !path.empty() && (Id != IDM_VIEW_CODE || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES);
    s.afterStep([path, viewed](std::string &failure) {
        const std::vector<ShellCall> &calls = recordedShellCalls();
        std::string named;
        if (!calls.empty()) named = Id == IDM_VIEW_CODE_NOTEPAD ? calls.back().parameters : calls.back().file;
        const std::string expected = Id == IDM_OPEN_FOLDER ? doc().workingFolder : viewed ? path : "";
        if (calls.size() != (Id == IDM_OPEN_FOLDER || viewed ? 1u : 0u) || named != expected)
            failure = "the shell was handed \"" + named + "\", not \"" + expected + "\"";
        return true;
    });
    menuCommand<Id>(s);
}

void closeProgram(Soak &s, bool byExit)
{
    const bool wasModified = doc().modified;
    const int starts = s.starts();
    s.programMayEnd = true;
    s.afterStep([&s, wasModified, starts](std::string &failure) {
        if (wasModified && (s.place() != Place::MessageBox ||
                            messageBoxText(s.target()).find(SaveChanges) == std::string::npos))
            failure = "closing with unsaved changes did not offer to save them";
        if (!wasModified && s.starts() == starts) failure = "the window did not close";
        return true;
    });
    if (byExit) menuCommand<IDM_EXIT>(s);
    else SendMessageA(MainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void exitByMenu(Soak &s) { closeProgram(s, true); }
void closeMainBox(Soak &s) { closeProgram(s, false); }

void rightClick(Soak &s, HWND control, UINT message, POINT at)
{
    s.menuOwner = control;
    SendMessageA(control, message, message == WM_RBUTTONDOWN ? MK_RBUTTON : 0, MAKELPARAM(at.x, at.y));
}

void rightClickList(Soak &s) { rightClick(s, EntryListView, WM_RBUTTONDOWN, POINT{30, 40}); }
void rightClickTabs(Soak &s) { rightClick(s, CategoryTabs, WM_RBUTTONUP, POINT{20, 10}); }
void rightClickTopic(Soak &s) { rightClick(s, TopicLine, WM_RBUTTONDOWN, POINT{50, 10}); }

// ---- outcomes of the commands, by id: menu items and context menus alike

Outcome commandOutcome(int id)
{
    switch (id) {
    case IDM_NEW_FILE: return {{SaveChanges, SaveFailed, "Create new biography file"}};
    case IDM_OPEN_FILE: return {{SaveChanges, SaveFailed, NotBiography, Unreadable, PathTooLong, HoldsMore, TooLarge,
                                 RecoverQuestion, LostForGood}};
    // A biography recovered without its file is given one.
    case IDM_SAVE: return {{SaveFailed, PathTooLong}};
    case IDM_SAVE_AS: return {{SaveFailed, PathTooLong}};
    case IDM_SET_TOPIC: return {{"Set topic text"}};
    case IDM_ADD_ENTRY: return {{EntriesFull}, Closes::No, "Add entry"};
    case IDM_DELETE_ENTRIES: return {{DeleteSelected}, Closes::No, "Delete entries"};
    case IDM_MOVE_TO_CATEGORY: return {{"Move to category"}};
    case IDM_NEW_CATEGORY:
    case IDM_TAB_ADD: return {{"Create new category"}};
    case IDM_DELETE_CATEGORY:
    case IDM_TAB_DELETE: return {{DefaultInUse, LastCategory}, Closes::No, "Delete category"};
    case IDM_TAB_MOVE_LEFT: return {{}, Closes::No, "Move category left"};
    case IDM_TAB_MOVE_RIGHT: return {{}, Closes::No, "Move category right"};
    case IDM_RENAME_CATEGORY: return {{"Rename category"}};
    case IDM_PERSONALITY_FOLDER: return {{"Create personality folder"}};
    case IDM_ABOUT: return {{"About"}};
    case IDM_ADD_FILE: return {{FilesFull, PathTooLong}, Closes::No, "Add file"};
    case IDM_REMOVE_FILE: return {{DeleteSelected}, Closes::No, "Remove files"};
    case IDM_FIND_ENTRIES: return {{"Find entries"}};
    case IDM_FIND_NEXT: return {{"Find entries", NotFound}};
    case IDM_EXPORT_WEB_PAGE: return {{SaveFailed, PathTooLong}};
    case IDM_VIEW_CODE: return {{FileMissing}};
    case IDM_UNDO: return {{}, Closes::No, nullptr, -1};
    case IDM_REDO: return {{}, Closes::No, nullptr, +1};
    }
    return {};
}

// ---- popup menus

std::vector<UINT> expectedMenu(Soak &s)
{
    if (s.menuOwner == EntryListView)
        return firstSelectedEntryIndex() >= 0
                   ? std::vector<UINT>{IDM_DELETE_ENTRIES, IDM_MOVE_TO_CATEGORY, IDM_ADD_ENTRY, 0}
                   : std::vector<UINT>{IDM_ADD_ENTRY};
    if (s.menuOwner == CategoryTabs)
        return {0, IDM_TAB_MOVE_LEFT, IDM_TAB_MOVE_RIGHT, 0, IDM_TAB_DELETE, IDM_RENAME_CATEGORY,
                IDM_TAB_ADD, 0};
    if (s.menuOwner == TopicLine) return {IDM_SET_TOPIC};
    const bool fileSelected = SendMessageA(FileListView, LVM_GETNEXTITEM, -1, LVNI_SELECTED) >= 0;
    return fileSelected ? std::vector<UINT>{IDM_REMOVE_FILE, IDM_ADD_FILE}
                        : std::vector<UINT>{IDM_ADD_FILE};
}

HMENU shownMenu(Soak &s)
{
    return reinterpret_cast<HMENU>(SendMessageA(s.target(), MN_GETHMENU, 0, 0));
}

void checkFileRemoval(Soak &s);

// The menu's item is chosen as a click on it would: the menu closes, then
// its command goes to the control that showed it.
void chooseMenuItem(Soak &s)
{
    const std::vector<UINT> ids = menuItemIds(shownMenu(s));
    std::vector<UINT> items;
    for (UINT id : ids)
        if (id != 0 && id != static_cast<UINT>(-1)) items.push_back(id);
    const UINT id = items.empty() ? 0 : items[s.below(static_cast<int>(items.size()))];
    Outcome outcome = commandOutcome(static_cast<int>(id));
    outcome.closes = Closes::Yes;
    s.expectOutcome(outcome);
    if (ids != expectedMenu(s)) {
        s.afterStep([](std::string &failure) {
            failure = "the context menu holds other items than it should";
            return true;
        });
    }
    if (s.menuOwner == EntryListView && id == IDM_DELETE_ENTRIES) checkDeletion(s);
    if (s.menuOwner == FileListView && id == IDM_REMOVE_FILE) checkFileRemoval(s);
    EndMenu();
    if (id) PostMessageA(s.menuOwner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void dismissMenu(Soak &) { EndMenu(); }

// ---- dialogs in general

void closeBox(Soak &s)
{
    SendMessageA(s.target(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void press(Soak &s, int id)
{
    SendMessageA(s.target(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(s.target(), id)));
}

template <int Id>
void pressButton(Soak &s) { press(s, Id); }

// Message boxes hide the buttons they do not use.
template <int Id>
bool hasButton(Soak &s)
{
    HWND button = GetDlgItem(s.target(), Id);
    return button && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE);
}

// Cancelling the offer to save goes back to everything as it was: the
// window, its document unsaved, its file, the tab and the rows selected.
void checkCancelledOffer(Soak &s, int answer)
{
    if (answer != IDCANCEL || messageBoxText(s.target()).find(SaveChanges) == std::string::npos) return;
    std::shared_ptr<Biography> before(copyOfDocument().release());
    const std::string path = doc().filePath, caption = windowText(MainWindow);
    const int starts = s.starts(), tab = selectedTab(CategoryTabs);
    const std::vector<int> rows = selectedEntryIndices();
    s.afterStep([&s, before, path, caption, starts, tab, rows](std::string &failure) {
        if (s.starts() != starts || windowText(MainWindow) != caption || doc().filePath != path ||
            !doc().modified || !documentDifference(doc(), *before, Compare::Exact).empty() ||
            selectedTab(CategoryTabs) != tab || selectedEntryIndices() != rows)
            failure = "a cancelled offer to save changed the window, document, file, tab or rows";
        return true;
    });
}

template <int Id>
void answer(Soak &s)
{
    checkCancelledOffer(s, Id);
    s.noteAnswer(Id);
    press(s, Id);
}

void answerByCloseBox(Soak &s)
{
    checkCancelledOffer(s, IDCANCEL);
    s.noteAnswer(IDCANCEL);
    closeBox(s);
}

// ---- the entry editor

// Clicks heading `heading` (0 to 6, the last being "Associated files:") or,
// past them, the line of one file path.
void clickLinkNumber(Soak &s, size_t link)
{
    const int entry = firstSelectedEntryIndex();
    std::vector<long> starts;
    const std::string text = expectedEditorText(entry, &starts);
    // A heading's link is its text and line break; the files link runs on
    // through the paths, each of which may be clicked.
    const EditorHeading &heading = EditorHeadings[std::min(link, FilesHeadingIndex)];
    long end = link + 1 < starts.size() ? starts[link + 1] : static_cast<long>(wide(text).size());
    if (&heading != &FilesHeading) {
        end = starts[link] + static_cast<long>(headingText(heading).size()) + 1;
        s.expectOutcome({{fieldDialogCaption(heading)}});
        const std::string value = (doc().*heading.column)[entry];
        s.afterStep([&s, value](std::string &failure) {
            if (s.place() == Place::FieldDialog && dialogItemText(s.target(), IDC_FIELD_EDIT) != value)
                failure = "the field dialog opened with another text than the field's";
            return true;
        });
    } else {
        s.expectOutcome({{"Associated files", UnlistedFiles}});
    }
    clickLink(s.target(), CHARRANGE{starts[link], end});
}

void clickHeading(Soak &s)
{
    clickLinkNumber(s, s.below(static_cast<int>(FilesHeadingIndex) + 1));
}

bool showsFiles(Soak &)
{
    return countFiles(doc().files[firstSelectedEntryIndex()]) > 0;
}

void clickFilePath(Soak &s)
{
    clickLinkNumber(s, FilesHeadingIndex + 1 + s.below(static_cast<int>(listedFiles(doc().files[firstSelectedEntryIndex()]).size())));
}

// ---- the field and topic dialogs

template <int Box>
void typeText(Soak &s)
{
    const std::string text = randomText(s);
    SetDlgItemTextA(s.target(), Box, text.c_str());
    const bool kept = dialogItemText(s.target(), Box) == text;
    s.afterStep([kept](std::string &failure) {
        if (!kept) failure = "the box holds other text than was typed";
        return true;
    });
}

// The step a field dialog's OK makes.
const char *fieldStep(std::string (Biography::*column)[MaxEntries])
{
    static const std::pair<std::string (Biography::*)[MaxEntries], const char *> steps[] = {
        {&Biography::title, "Edit title"}, {&Biography::entryDate, "Edit entry date"},
        {&Biography::timePeriod, "Edit time period"}, {&Biography::location, "Edit location"},
        {&Biography::detail, "Edit detail"}, {&Biography::keywords, "Edit keywords"}};
    for (const auto &step : steps)
        if (step.first == column) return step.second;
    return nullptr;
}

// The value the dialog edits; a field's names the step its OK makes.
std::string *editedValue(Soak &s)
{
    if (s.place() == Place::TopicDialog) return &doc().topic;
    const std::string caption = windowText(s.target());
    for (const EditorHeading &heading : EditorHeadings)
        if (&heading != &FilesHeading && caption == fieldDialogCaption(heading)) {
            s.expectStep(fieldStep(heading.column));
            return &(doc().*heading.column)[firstSelectedEntryIndex()];
        }
    return nullptr;
}

// OK stores exactly the text in the box, or refuses it and stores nothing;
// Cancel and the close box store nothing.
enum class Finish { Ok, Cancel, CloseBox, Escape };

template <int Box, int Button, Finish How>
void finishTextDialog(Soak &s)
{
    std::string *value = editedValue(s);
    const std::string typed = dialogItemText(s.target(), Box), old = *value;
    const bool wasModified = doc().modified;
    const bool ok = How == Finish::Ok;
    s.afterStep([value, typed, old, wasModified, ok](std::string &failure) {
        const bool stored = ok && isValidEntryText(typed);
        if (*value != (stored ? typed : old))
            failure = "the dialog left the value other than " + std::string(stored ? "typed" : "it was");
        else if (doc().modified != (wasModified || stored))
            failure = "the dialog left modified " + std::to_string(doc().modified);
        return true;
    });
    if (How == Finish::CloseBox) closeBox(s);
    // As the dialog's own loop takes a key pressed in the box.
    else if (How == Finish::Escape) {
        MSG key = {GetDlgItem(s.target(), Box), WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
        IsDialogMessageA(s.target(), &key);
    }
    else press(s, Button);
}

// ---- the associated files dialog

bool hasFileRows(Soak &)
{
    return listRowCount(FileListView) > 0;
}

void selectFile(Soak &s)
{
    selectListRow(FileListView, s.below(listRowCount(FileListView)), true);
}

void selectNoFile(Soak &)
{
    selectListRow(FileListView, -1, false);
}

void rightClickFiles(Soak &s) { rightClick(s, FileListView, WM_RBUTTONDOWN, POINT{40, 60}); }

// Yes removes exactly the selected file; No and no selection keep all.
void checkFileRemoval(Soak &s)
{
    const std::vector<std::string> before = workingFiles;
    const int row = static_cast<int>(SendMessageA(FileListView, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    const bool wasModified = doc().modified;
    s.noteAnswer(0);
    s.afterStep([&s, before, row, wasModified](std::string &failure) {
        if (s.place() == Place::MessageBox) return false;
        std::vector<std::string> expected = before;
        const bool removed = row >= 0 && s.lastAnswer() == IDYES;
        if (removed) expected.erase(expected.begin() + row);
        if (workingFiles != expected) failure = "removing a file did not remove exactly the selected one";
        else if (doc().modified != (wasModified || removed))
            failure = "removing a file left modified " + std::to_string(doc().modified);
        return true;
    });
}

void deleteFileByKey(Soak &s)
{
    checkFileRemoval(s);
    SendMessageA(FileListView, WM_KEYDOWN, VK_DELETE, 0);
}

void doubleClickFile(Soak &s)
{
    const int row = s.below(listRowCount(FileListView));
    selectListRow(FileListView, row, true);
    const POINT at = rowPoint(FileListView, row);
    SendMessageA(FileListView, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

// Closing keeps the files listed; those an entry names beyond them go as
// a step.
void closeFilesDialog(Soak &s)
{
    const std::vector<std::string> expected = workingFiles;
    const int entry = firstSelectedEntryIndex();
    s.afterStep([expected, entry](std::string &failure) {
        if (listedFiles(doc().files[entry]) != expected)
            failure = "closing the files dialog did not leave the entry naming its list";
        return true;
    });
    closeBox(s);
}

// ---- the category dialogs

void typeCategoryName(Soak &s)
{
    SetDlgItemTextA(s.target(), IDC_CATEGORY_NAME, randomCategoryName(s).c_str());
}

bool acceptableName(const std::string &name)
{
    return !name.empty() && isValidCategoryName(name) && findCategory(name) < 0;
}

std::vector<std::string> categoryList()
{
    return std::vector<std::string>(doc().categories, doc().categories + doc().categoryCount);
}

void pressAdd(Soak &s)
{
    const std::string name = dialogItemText(s.target(), IDC_CATEGORY_NAME);
    std::vector<std::string> expected = categoryList();
    const bool added = acceptableName(name) && expected.size() < static_cast<size_t>(MaxCategories);
    if (added) expected.push_back(name);
    s.afterStep([expected, name, added](std::string &failure) {
        if (categoryList() != expected)
            failure = "\"Add\" left the categories other than expected for \"" + name + "\"";
        else if (added && (currentCategory() < 0 || doc().categories[currentCategory()] != name))
            failure = "\"Add\" did not show the new category";
        return true;
    });
    press(s, IDC_CATEGORY_APPLY);
}

void pressRename(Soak &s)
{
    const std::string name = dialogItemText(s.target(), IDC_CATEGORY_NAME);
    const int index = currentCategory();
    std::shared_ptr<Biography> expected(copyOfDocument().release());
    if (acceptableName(name)) {
        const std::string old = expected->categories[index];
        expected->categories[index] = name;
        for (int e = 0; e < expected->entryCount; ++e)
            if (expected->category[e] == old) expected->category[e] = name;
    }
    s.afterStep([expected](std::string &failure) {
        failure = documentDifference(doc(), *expected, Compare::Exact);
        if (!failure.empty()) failure = "after \"Rename\": " + failure;
        return true;
    });
    press(s, IDC_CATEGORY_APPLY);
}

void pickTargetCategory(Soak &s)
{
    SendDlgItemMessageA(s.target(), IDC_MOVE_LIST, LB_SETCURSEL, s.below(doc().categoryCount + 1) - 1, 0);
}

void pressProceed(Soak &s)
{
    const int target = static_cast<int>(SendDlgItemMessageA(s.target(), IDC_MOVE_LIST, LB_GETCURSEL, 0, 0));
    std::shared_ptr<Biography> expected(copyOfDocument().release());
    if (target >= 0)
        for (int e : selectedEntryIndices()) expected->category[e] = expected->categories[target];
    s.afterStep([expected](std::string &failure) {
        failure = documentDifference(doc(), *expected, Compare::Exact);
        if (!failure.empty()) failure = "after \"Proceed\": " + failure;
        return true;
    });
    press(s, IDC_MOVE_PROCEED);
}

// ---- the new file dialog

void typeNewTopic(Soak &s)
{
    SetDlgItemTextA(s.target(), IDC_NEW_FILE_TOPIC, randomWord(s, s.below(30)).c_str());
}

void setTemplateSelected(Soak &s, bool selected)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendDlgItemMessageA(s.target(), IDC_NEW_FILE_TEMPLATES, LVM_SETITEMSTATE, 0,
                        reinterpret_cast<LPARAM>(&item));
}

void unselectTemplate(Soak &s) { setTemplateSelected(s, false); }
void selectTemplate(Soak &s) { setTemplateSelected(s, true); }

void pressNewOk(Soak &s)
{
    const std::string path = dialogItemText(s.target(), IDC_NEW_FILE_FILENAME);
    const std::string topic = dialogItemText(s.target(), IDC_NEW_FILE_TOPIC);
    s.afterStep([&s, path, topic](std::string &failure) {
        // A refusal keeps the dialog; a failed save is told once the new
        // document is there.
        if (s.place() == Place::MessageBox) return false;
        if (s.place() == Place::NewFileDialog) return true;
        s.historyStarts();
        const Biography &d = doc();
        if (d.filePath != path || d.entryCount != 1 || d.title[0] != "New entry" ||
            d.categoryCount != 1 || d.categories[0] != "Category 1" ||
            d.topic != (topic.empty() ? "File topic text goes here" : topic))
            failure = "the new file's document is not the Blank template's";
        return true;
    });
    press(s, IDC_NEW_FILE_OK);
}

// ---- the personality folder dialog

void typeFolderName(Soak &s)
{
    static const std::string names[] = {"Anna", "Anna & Bob", "..", "a\\b", "", ansi(L"Łódź 写真")};
    const int pick = s.below(7);
    const std::string name = pick < 6 ? names[pick] : randomWord(s, 250);
    SetDlgItemTextA(s.target(), IDC_PERSONALITY_NAME, name.c_str());
}

void toggleSubfolder(Soak &s)
{
    press(s, IDC_PERSONALITY_BIOGRAPHY + s.below(7));
}

// ---- keys of the main window

// A key pressed in the entry list, taken by the program's own message loop
// step: through its table of shortcuts, else to the list.
enum Modifiers { Plain = 0, Ctrl = 1, CtrlShift = 3 };

void pressShortcut(UINT key, Modifiers modifiers)
{
    static const HACCEL keys = loadShortcuts(GetModuleHandleA(NULL));
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    GetKeyboardState(state);
    state[VK_CONTROL] = (modifiers & Ctrl) ? 0x80 : 0;
    state[VK_SHIFT] = (modifiers & 2) ? 0x80 : 0;
    SetKeyboardState(state);
    MSG message = {EntryListView, WM_KEYDOWN, key, 1, 0, {0, 0}};
    processMessage(message, keys);
    SetKeyboardState(saved);
}

template <UINT Key, Modifiers With>
void shortcut(Soak &)
{
    pressShortcut(Key, With);
}

// ---- Find

// Text a user looks for: a piece of what some entry holds, in either case,
// or anything at all.
std::string randomSearchText(Soak &s)
{
    const Biography &d = doc();
    if (d.entryCount > 0 && s.percent(70)) {
        const std::string &value = (d.*EntryFields[s.below(EntryFieldCount)].column)[s.below(d.entryCount)];
        if (!value.empty()) {
            const size_t from = s.below(static_cast<int>(value.size()));
            std::string piece = value.substr(from, 1 + s.below(12));
            return s.percent(30) ? otherCase(piece) : piece;
        }
    }
    return randomWord(s, s.below(8));
}

void typeSearchText(Soak &s)
{
    SetDlgItemTextA(s.target(), IDC_FIND_TEXT, randomSearchText(s).c_str());
}

void toggleMatchCase(Soak &s)
{
    press(s, IDC_FIND_MATCH_CASE);
}

std::string upperCase(std::string text)
{
    if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// Whether a field Find looks in, or a file path, holds the text. Without
// matching case, letters are compared by their capitals; Find counts fewer
// bytes as the same letter, never more.
bool entryHolds(int entry, const std::string &text, bool matchCase)
{
    std::vector<std::string> values = parseFileList(doc().files[entry]);
    for (const EntryField &field : EntryFields)
        if (field.value != &Entry::files && field.value != &Entry::category)
            values.push_back((doc().*field.column)[entry]);
    for (const std::string &value : values)
        if ((matchCase ? value : upperCase(value)).find(matchCase ? text : upperCase(text)) != std::string::npos)
            return true;
    return false;
}

// What Find shows holds what was looked for; when it says nothing holds
// it, nothing does.
void pressFindNext(Soak &s)
{
    const std::string text = dialogItemText(s.target(), IDC_FIND_TEXT);
    const bool matchCase = IsDlgButtonChecked(s.target(), IDC_FIND_MATCH_CASE) == BST_CHECKED;
    s.afterStep([&s, text, matchCase](std::string &failure) {
        if (text.empty()) return true;
        if (s.place() == Place::MessageBox) {
            for (int e = 0; e < doc().entryCount; ++e)
                if (entryHolds(e, text, true) && findCategory(doc().category[e]) >= 0)
                    failure = "Find says it cannot find what entry " + std::to_string(e) + " holds";
            return true;
        }
        const std::vector<int> rows = selectedEntryIndices();
        if (rows.size() != 1 || !entryHolds(rows[0], text, matchCase))
            failure = "Find shows a row that does not hold what was looked for";
        return true;
    });
    press(s, IDOK);
}

// ---- undo and redo

// Presses the menu item up to `most` times, while it is enabled; how many
// times.
int pressWhileEnabled(int id, int most)
{
    int presses = 0;
    for (; presses < most && !menuItemGreyed(MainWindow, id); ++presses)
        SendMessageA(MainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return presses;
}

// Every step undone: the document is where the history started, and
// `modified` is clear exactly at the state last saved or opened, which is
// then the file's. As many redone: it is where it was. (Closing the files
// dialog writes a list in its own form, which is no step: the states of
// the past compare as shown.)
void undoAllRedoAll(Soak &s)
{
    const ExpectedHistory &h = s.history();
    const std::string before = biographyFileBytes(doc());
    const int undone = pressWhileEnabled(IDM_UNDO, MaxHistorySteps + 1);
    const std::string fromStart =
        h.whole ? documentDifference(doc(), *readBiography(h.startBytes), Compare::AsShown) : "";
    const bool startModified = doc().modified;
    const std::string fromDisk =
        startModified ? "" : documentDifference(doc(), *readBiography(readFileBytes(doc().filePath)), Compare::AsShown);
    const int redone = pressWhileEnabled(IDM_REDO, undone);
    std::string failure;
    if (undone != h.done || redone != undone)
        failure = "undid " + std::to_string(undone) + " and redid " + std::to_string(redone) + " of " +
                  std::to_string(h.done) + " steps";
    else if (!fromStart.empty())
        failure = "undoing every step did not bring back the document the history started with: " + fromStart;
    else if (startModified != (h.savedAt != 0) || !fromDisk.empty())
        failure = "undoing every step left modified " + std::to_string(startModified) + " with the state saved at step " +
                  std::to_string(h.savedAt) + (fromDisk.empty() ? "" : ", yet the file differs: " + fromDisk);
    else if (biographyFileBytes(doc()) != before)
        failure = "redoing every step did not bring back the document";
    else if (doc().modified != (h.done != h.savedAt))
        failure = "redoing every step left modified " + std::to_string(doc().modified);
    s.afterStep([failure](std::string &result) {
        result = failure;
        return true;
    });
}

// ---- answers of the replaceable dialogs

Soak *answering = nullptr;

std::string otherScriptFile()
{
    return ansi(L"Łódź 写真 😀.txt");
}

std::string chooseFrom(Soak &s, const std::vector<std::string> &choices)
{
    return choices.empty() ? std::string() : choices[s.below(static_cast<int>(choices.size()))];
}

bool giveBack(OPENFILENAMEA &dialog, DWORD &error, const std::string &path)
{
    error = 0;
    if (path.empty()) return false;
    if (path.size() >= dialog.nMaxFile) {
        error = FNERR_BUFFERTOOSMALL;
        return false;
    }
    std::strcpy(dialog.lpstrFile, path.c_str());
    return true;
}

std::vector<std::string> biographiesOnDisk(Soak &s)
{
    std::vector<std::string> paths;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((s.filesFolder() + "\\*.xml").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return paths;
    do paths.push_back(s.filesFolder() + "\\" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(paths.begin(), paths.end());
    return paths;
}

// After an open: the document is what the file holds; after a refused
// one, it is what it was.
void checkOpen(Soak &s, const std::string &path)
{
    const std::string bytes = readFileBytes(path);
    const bool biography = bytes.find("<biography_data>") != std::string::npos;
    std::shared_ptr<Biography> before(copyOfDocument().release());
    const std::string pathBefore = doc().filePath;
    s.afterStep([&s, path, bytes, biography, before, pathBefore](std::string &failure) {
        if (s.place() == Place::MessageBox) return false;
        // The file's journal asked first: recovered, or kept and the file left closed.
        bool recovered = false;
        failure = s.checkRecovered(recovered);
        const bool unchanged = documentDifference(doc(), *before, Compare::Exact).empty() && doc().filePath == pathBefore;
        if (recovered || !failure.empty() || (unchanged && Soak::journalKeptFor(path))) return true;
        if (biography) {
            failure = documentDifference(doc(), *readBiography(bytes), Compare::Exact);
            if (!failure.empty()) failure = "the opened document is not what the file holds: " + failure;
            else if (doc().filePath != path || doc().modified) failure = "the opened file is not the document's";
            s.historyStarts();
        } else {
            failure = documentDifference(doc(), *before, Compare::Exact);
            if (!failure.empty() || doc().filePath != pathBefore)
                failure = "refusing a file changed the document: " + failure;
        }
        return true;
    });
}

bool answerOpenDialog(OPENFILENAMEA &dialog, DWORD &error)
{
    Soak &s = *answering;
    std::string path;
    if (std::strcmp(dialog.lpstrFilter, "All files") == 0) {
        const std::string folder = s.attachFolder() + "\\";
        const std::vector<std::string> files = {
            folder + "photo.jpg", folder + "notes & more.txt", folder + otherScriptFile(),
            folder + "gone.txt", folder + "run.bat", folder + std::string(150, 'x') + ".txt",
            folder + std::string(300, 'y') + ".txt", ""};
        path = chooseFrom(s, files);
    } else {
        std::vector<std::string> files = biographiesOnDisk(s);
        files.push_back(s.filesFolder() + "\\missing.xml");
        files.push_back("");
        path = chooseFrom(s, files);
        if (!path.empty()) checkOpen(s, path);
    }
    return giveBack(dialog, error, path);
}

// Save as moves the document to the chosen path; a failed save leaves it.
void checkSaveAs(Soak &s, const std::string &path)
{
    const std::string pathBefore = doc().filePath;
    s.afterStep([&s, path, pathBefore](std::string &failure) {
        if (s.place() == Place::MessageBox) return false;
        const bool written = readFileBytes(path) == savedFileBytes(doc());
        if (written && (doc().filePath != path || doc().modified))
            failure = "\"Save as\" wrote the file but did not move the document to it";
        if (!written && doc().filePath != pathBefore)
            failure = "\"Save as\" moved the document to a file it did not write";
        return true;
    });
}

// An export writes the page and changes nothing in the document.
void checkExport(Soak &s, const std::string &path)
{
    std::shared_ptr<Biography> before(copyOfDocument().release());
    const bool wasModified = doc().modified;
    const bool folderExists = GetFileAttributesA(path.substr(0, path.rfind('\\')).c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileA(path.c_str());
    s.afterStep([&s, path, before, wasModified, folderExists](std::string &failure) {
        if (s.place() == Place::MessageBox) return false;
        const std::string page = readFileBytes(path);
        if (folderExists != (page.find("<html") != std::string::npos))
            failure = "the web page was " + std::string(folderExists ? "not " : "") + "written to \"" + path + "\"";
        else if (!documentDifference(doc(), *before, Compare::Exact).empty() || doc().modified != wasModified)
            failure = "exporting a web page changed the document";
        return true;
    });
}

// A web page goes where proposed, beside the biography, or to a folder of
// its own.
bool answerWebPageDialog(OPENFILENAMEA &dialog, DWORD &error)
{
    Soak &s = *answering;
    const std::string folder = s.folder() + "\\pages\\";
    const std::string proposed = std::string(dialog.lpstrInitialDir ? dialog.lpstrInitialDir : "") + "\\" + dialog.lpstrFile;
    const std::vector<std::string> files = {proposed, folder + "page.html", folder + "Anna & Bob.html",
                                            s.folder() + "\\missing\\page.html", ""};
    const std::string path = chooseFrom(s, files);
    if (!path.empty() && path.size() < MAX_PATH) checkExport(s, path);
    return giveBack(dialog, error, path);
}

bool answerSaveDialog(OPENFILENAMEA &dialog, DWORD &error)
{
    Soak &s = *answering;
    if (std::strncmp(dialog.lpstrFilter, "Biography", 9) != 0) return answerWebPageDialog(dialog, error);
    const std::string folder = s.filesFolder() + "\\";
    const std::vector<std::string> files = {
        folder + "a.xml", folder + "b.xml", folder + "Anna & Bob.xml", folder + ansi(L"Μαρία 😀.xml"),
        folder + "received.xml", s.folder() + "\\missing\\c.xml",
        folder + std::string(300, 'z') + ".xml", "", ""};
    const std::string path = chooseFrom(s, files);
    if (!path.empty() && path.size() < MAX_PATH && dialog.hwndOwner == MainWindow) checkSaveAs(s, path);
    return giveBack(dialog, error, path);
}

bool answerFolderBrowser(HWND, const char *, std::string &folder)
{
    Soak &s = *answering;
    if (s.percent(25)) return false;
    folder = s.folder() + "\\people";
    return true;
}

// As many files as an entry can list, or more.
std::string manyFiles(Soak &s, int count)
{
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) paths.push_back(s.attachFolder() + "\\" + std::to_string(i) + ".txt");
    return joinFileList(paths);
}

// A biography received from someone else: hand-made layout, an entry in a
// category the list does not name, text between the quoted paths, entries
// that name as many files as an entry can list, and more.
std::string receivedFile(Soak &s)
{
    return "<?xml version=\"1.0\"?>\r\n<biography_data>\r\n<topic>Received from a friend</topic>\r\n"
           "<categories> \"Family\", \"Work\" </categories>\r\n"
           "<fact1>\r\n<category>Family</category><title>Born</title>\r\n"
           "<files>\"C:\\photos\\baby.jpg\" and \"C:\\photos\\home.jpg\"</files>\r\n</fact1>\r\n"
           "<fact2><title>Kites</title><category>Hobbies</category></fact2>\r\n"
           "<fact3>\r\n<title>First job</title>\r\n<category>Work</category>\r\n"
           "<detail>line one\r\nline two</detail>\r\n</fact3>\r\n"
           "<fact4><title>Scans</title><category>Work</category><files>" + manyFiles(s, MaxWorkingFiles) +
           "</files></fact4>\r\n<fact5><title>Letters</title><category>Family</category><files>" +
           manyFiles(s, MaxWorkingFiles + 6) + "</files></fact5>\r\n</biography_data>\r\n";
}

// Near the limits: 1000 to 1020 entries, a third of them in the first
// tab's category, over 50 to 100 categories or 495; details of up to 600
// short lines (Wine's rich edit lays out a long line in quadratic time).
std::string nearCapacityBiography(Soak &s)
{
    std::unique_ptr<Biography> b(new Biography);
    b->topic = randomWord(s, 30);
    b->categoryCount = s.percent(50) ? MaxCategories - 5 : 50 + s.below(51);
    for (int i = 0; i < b->categoryCount; ++i) {
        std::string name;
        do name = "Chapter " + std::to_string(i + 1) + " " + randomWord(s, s.below(10));
        while (!isValidCategoryName(name));
        b->categories[i] = name;
    }
    b->entryCount = MaxEntries - 4 - s.below(21);
    for (int e = 0; e < b->entryCount; ++e) {
        b->title[e] = randomWord(s, 1 + s.below(40));
        b->entryDate[e] = std::to_string(1 + s.below(28)) + "/" + std::to_string(1 + s.below(12)) + "/19" +
                          std::to_string(10 + s.below(90));
        b->location[e] = randomWord(s, s.below(20));
        b->keywords[e] = randomWord(s, s.below(30));
        for (int line = s.percent(2) ? 200 + s.below(400) : s.below(40); line > 0; --line)
            b->detail[e] += randomWord(s, s.below(100)) + "\r\n";
        if (s.percent(10)) b->files[e] = joinFileList({s.attachFolder() + "\\photo.jpg", s.attachFolder() + "\\run.bat"});
        b->category[e] = b->categories[s.percent(33) ? b->categoryCount - 1 : s.below(b->categoryCount)];
    }
    return biographyFileBytes(*b);
}

void prepareFolders(Soak &s)
{
    if (s.nearCapacity()) writeFileBytes(s.startFile(), nearCapacityBiography(s));
    writeFileBytes(s.filesFolder() + "\\received.xml", receivedFile(s));
    writeFileBytes(s.filesFolder() + "\\letter.xml", "<?xml version=\"1.0\"?>\r\n<letter>Dear Anna</letter>");
    for (const std::string &name : {std::string("photo.jpg"), std::string("notes & more.txt"),
                                    otherScriptFile(), std::string("run.bat")})
        writeFileBytes(s.attachFolder() + "\\" + name, "x");
    CreateDirectoryA((s.folder() + "\\people").c_str(), NULL);
    CreateDirectoryA((s.folder() + "\\pages").c_str(), NULL);
}

// Near a limit, a user goes on adding until refused.
bool nearEntryLimit(Soak &)
{
    return doc().documentLoaded && doc().entryCount > MaxEntries - 8;
}

bool nearCategoryLimit(Soak &)
{
    return doc().documentLoaded && doc().categoryCount > MaxCategories - 8;
}

// A file dropped on the window, while there is nothing to save first.
bool nothingUnsaved(Soak &)
{
    return !doc().modified;
}

void crash(Soak &s)
{
    s.crash();
}

void dropFile(Soak &s)
{
    std::vector<std::string> files = biographiesOnDisk(s);
    files.push_back(s.filesFolder() + "\\missing.xml");
    const std::string path = chooseFrom(s, files);
    checkOpen(s, path);
    SendMessageA(MainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({path})), 0);
}

// ---- the table

// Each message box is answered with one of its buttons.
const Outcome Answered = {{}, Closes::Yes};
const Outcome Closing = {{}, Closes::Yes};
const Outcome MayClose = {{}, Closes::Maybe};
const Outcome Staying = {};

template <int Id>
Action mainMenu(const char *name, int weight, void (*run)(Soak &) = menuCommand<Id>)
{
    return {name, Place::Main, weight, menuEnabled<Id>, run, commandOutcome(Id)};
}

const std::vector<Action> Actions = {
    // The main window's menu.
    mainMenu<IDM_NEW_FILE>("New biography file", 3),
    mainMenu<IDM_OPEN_FILE>("Open biography file", 4),
    mainMenu<IDM_SAVE>("Save", 5),
    mainMenu<IDM_SAVE_AS>("Save as", 3),
    mainMenu<IDM_VIEW_CODE>("View code", 1, shellCommand<IDM_VIEW_CODE>),
    mainMenu<IDM_VIEW_CODE_NOTEPAD>("View code in notepad", 1, shellCommand<IDM_VIEW_CODE_NOTEPAD>),
    mainMenu<IDM_OPEN_FOLDER>("Open containing folder", 1, shellCommand<IDM_OPEN_FOLDER>),
    mainMenu<IDM_EXPORT_WEB_PAGE>("Export as web page", 2),
    {"Exit", Place::Main, 1, nullptr, exitByMenu, {{SaveChanges, SaveFailed}, Closes::Maybe}},
    {"Close the main window", Place::Main, 1, nullptr, closeMainBox, {{SaveChanges, SaveFailed}, Closes::Maybe}},
    mainMenu<IDM_SET_TOPIC>("Set topic", 4),
    mainMenu<IDM_ADD_ENTRY>("Add entry", 12, addEntryByMenu),
    {"Add entry near the limit", Place::Main, 12, nearEntryLimit, addEntryByMenu, commandOutcome(IDM_ADD_ENTRY)},
    mainMenu<IDM_DELETE_ENTRIES>("Delete selected entries", 3, deleteByMenu),
    mainMenu<IDM_MOVE_TO_CATEGORY>("Move to another category", 3),
    mainMenu<IDM_NEW_CATEGORY>("New category", 3),
    {"New category near the limit", Place::Main, 6, nearCategoryLimit, menuCommand<IDM_NEW_CATEGORY>, commandOutcome(IDM_NEW_CATEGORY)},
    mainMenu<IDM_DELETE_CATEGORY>("Delete category", 2),
    mainMenu<IDM_RENAME_CATEGORY>("Rename category", 2),
    mainMenu<IDM_PERSONALITY_FOLDER>("Create personality folder", 1),
    mainMenu<IDM_FIND_ENTRIES>("Find entries", 2),
    mainMenu<IDM_FIND_NEXT>("Find next", 2),
    mainMenu<IDM_UNDO>("Undo", 4),
    mainMenu<IDM_REDO>("Redo", 2),
    {"Undo all, then redo all", Place::Main, 2, menuEnabled<IDM_UNDO>, undoAllRedoAll, Staying},
    // The main window's keys.
    mainMenu<IDM_NEW_FILE>("Ctrl+N", 1, shortcut<'N', Ctrl>),
    mainMenu<IDM_OPEN_FILE>("Ctrl+O", 1, shortcut<'O', Ctrl>),
    mainMenu<IDM_SAVE>("Ctrl+S", 2, shortcut<'S', Ctrl>),
    mainMenu<IDM_SAVE_AS>("F12", 1, shortcut<VK_F12, Plain>),
    mainMenu<IDM_SAVE_AS>("Ctrl+Shift+S", 1, shortcut<'S', CtrlShift>),
    mainMenu<IDM_FIND_ENTRIES>("Ctrl+F", 1, shortcut<'F', Ctrl>),
    mainMenu<IDM_FIND_NEXT>("F3", 2, shortcut<VK_F3, Plain>),
    mainMenu<IDM_UNDO>("Ctrl+Z", 2, shortcut<'Z', Ctrl>),
    mainMenu<IDM_REDO>("Ctrl+Y", 1, shortcut<'Y', Ctrl>),
    mainMenu<IDM_REDO>("Ctrl+Shift+Z", 1, shortcut<'Z', CtrlShift>),
    mainMenu<IDM_ABOUT>("About", 1),
    // The main window's children.
    {"Select no row", Place::Main, 3, hasDocument, selectNone, Staying},
    {"Select one row", Place::Main, 10, hasRows, selectOne, Staying},
    {"Select several rows", Place::Main, 5, hasRows, selectSeveral, Staying},
    {"Choose a tab", Place::Main, 8, hasTabs, chooseTab, Staying},
    {"Double-click a row", Place::Main, 20, hasRows, doubleClickRow, {{"Entry editor"}}},
    {"Enter in the list", Place::Main, 3, hasRows, shortcut<VK_RETURN, Plain>, {{"Entry editor"}}},
    {"Double-click below the rows", Place::Main, 1, hasDocument, doubleClickBelowRows, Staying},
    {"Double-click the status bar", Place::Main, 1, hasDocument, doubleClickStatusBar, {{"Entry editor"}}},
    {"Drop a file on the window", Place::Main, 2, nothingUnsaved, dropFile, commandOutcome(IDM_OPEN_FILE)},
    {"Crash, and start again", Place::Main, 2, nullptr, crash, startOutcome()},
    {"Delete key in the list", Place::Main, 3, hasDocument, deleteByKey, commandOutcome(IDM_DELETE_ENTRIES)},
    {"Right-click the list", Place::Main, 4, hasDocument, rightClickList, {{"menu"}}},
    {"Right-click the tabs", Place::Main, 4, hasDocument, rightClickTabs, {{"menu"}}},
    {"Right-click the topic line", Place::Main, 1, hasDocument, rightClickTopic, {{"menu"}}},
    // Popup menus.
    {"Choose a menu item", Place::Menu, 8, nullptr, chooseMenuItem, Closing},
    {"Dismiss the menu", Place::Menu, 1, nullptr, dismissMenu, Closing},
    // Message boxes.
    {"Answer Yes", Place::MessageBox, 4, hasButton<IDYES>, answer<IDYES>, Answered},
    {"Answer No", Place::MessageBox, 3, hasButton<IDNO>, answer<IDNO>, Answered},
    {"Answer OK", Place::MessageBox, 4, hasButton<IDOK>, answer<IDOK>, Answered},
    {"Answer Cancel", Place::MessageBox, 2, hasButton<IDCANCEL>, answer<IDCANCEL>, Answered},
    {"Close the message box", Place::MessageBox, 1, nullptr, answerByCloseBox, MayClose},
    // The entry editor.
    {"Click a heading", Place::Editor, 14, nullptr, clickHeading, Staying},
    {"Click a file path", Place::Editor, 2, showsFiles, clickFilePath, Staying},
    {"Close the editor", Place::Editor, 5, nullptr, closeBox, Closing},
    // The field dialogs.
    {"Type a field's text", Place::FieldDialog, 8, nullptr, typeText<IDC_FIELD_EDIT>, Staying},
    {"Press OK", Place::FieldDialog, 6, nullptr, finishTextDialog<IDC_FIELD_EDIT, IDC_FIELD_OK, Finish::Ok>, {{InvalidText}, Closes::Maybe}},
    {"Press Cancel", Place::FieldDialog, 2, nullptr, finishTextDialog<IDC_FIELD_EDIT, IDC_FIELD_CANCEL, Finish::Cancel>, Closing},
    {"Close the field dialog", Place::FieldDialog, 1, nullptr, finishTextDialog<IDC_FIELD_EDIT, 0, Finish::CloseBox>, Closing},
    {"Esc in the field dialog", Place::FieldDialog, 1, nullptr, finishTextDialog<IDC_FIELD_EDIT, 0, Finish::Escape>, Closing},
    // The topic dialog.
    {"Type a topic", Place::TopicDialog, 4, nullptr, typeText<IDC_TOPIC_TEXT>, Staying},
    {"Press OK", Place::TopicDialog, 4, nullptr, finishTextDialog<IDC_TOPIC_TEXT, IDC_TOPIC_OK, Finish::Ok>, {{InvalidText}, Closes::Maybe, "Set topic"}},
    {"Press Cancel", Place::TopicDialog, 1, nullptr, finishTextDialog<IDC_TOPIC_TEXT, IDC_TOPIC_CANCEL, Finish::Cancel>, Closing},
    {"Close the topic dialog", Place::TopicDialog, 1, nullptr, finishTextDialog<IDC_TOPIC_TEXT, 0, Finish::CloseBox>, Closing},
    {"Esc in the topic dialog", Place::TopicDialog, 1, nullptr, finishTextDialog<IDC_TOPIC_TEXT, 0, Finish::Escape>, Closing},
    // The associated files dialog.
    {"Select a file", Place::FilesDialog, 4, hasFileRows, selectFile, Staying},
    {"Select no file", Place::FilesDialog, 1, nullptr, selectNoFile, Staying},
    {"Right-click the files", Place::FilesDialog, 7, nullptr, rightClickFiles, {{"menu"}}},
    {"Delete key on the files", Place::FilesDialog, 3, nullptr, deleteFileByKey, commandOutcome(IDM_REMOVE_FILE)},
    {"Double-click a file", Place::FilesDialog, 2, hasFileRows, doubleClickFile, {{FileMissing, MayBeProgram}}},
    {"Close the files dialog", Place::FilesDialog, 3, nullptr, closeFilesDialog, {{}, Closes::Yes, "Remove files"}},
    // The category dialogs.
    {"Type a category name", Place::NewCategoryDialog, 5, nullptr, typeCategoryName, Staying},
    {"Press Add", Place::NewCategoryDialog, 5, nullptr, pressAdd, {{InvalidText, CategoryPresent, CategoryEmpty, CategoriesFull}, Closes::No, "New category"}},
    {"Press Cancel", Place::NewCategoryDialog, 2, nullptr, pressButton<IDC_CATEGORY_CANCEL>, Closing},
    {"Close the new category dialog", Place::NewCategoryDialog, 1, nullptr, closeBox, Closing},
    {"Type a new name", Place::RenameCategoryDialog, 5, nullptr, typeCategoryName, Staying},
    {"Press Rename", Place::RenameCategoryDialog, 5, nullptr, pressRename, {{InvalidText, CategoryPresent, CategoryEmpty}, Closes::Maybe, "Rename category"}},
    {"Press Cancel", Place::RenameCategoryDialog, 1, nullptr, pressButton<IDC_CATEGORY_CANCEL>, Closing},
    {"Close the rename dialog", Place::RenameCategoryDialog, 1, nullptr, closeBox, Closing},
    {"Pick a category", Place::MoveDialog, 3, nullptr, pickTargetCategory, Staying},
    {"Press Proceed", Place::MoveDialog, 4, nullptr, pressProceed, {{}, Closes::Yes, "Move entries"}},
    {"Press Cancel", Place::MoveDialog, 1, nullptr, pressButton<IDC_MOVE_CANCEL>, Closing},
    {"Close the move dialog", Place::MoveDialog, 1, nullptr, closeBox, Closing},
    // The new file dialog.
    {"Type a topic", Place::NewFileDialog, 2, nullptr, typeNewTopic, Staying},
    {"Browse", Place::NewFileDialog, 4, nullptr, pressButton<IDC_NEW_FILE_BROWSE>, {{PathTooLong}}},
    {"Unselect the template", Place::NewFileDialog, 1, nullptr, unselectTemplate, Staying},
    {"Select the template", Place::NewFileDialog, 1, nullptr, selectTemplate, Staying},
    {"Press Ok", Place::NewFileDialog, 5, nullptr, pressNewOk, {{NoTemplate, NoFileName, SaveFailed, InvalidText}, Closes::Maybe}},
    {"Press Cancel", Place::NewFileDialog, 1, nullptr, pressButton<IDC_NEW_FILE_CANCEL>, Closing},
    {"Close the new file dialog", Place::NewFileDialog, 1, nullptr, closeBox, Closing},
    // Find.
    {"Type a search text", Place::FindDialog, 4, nullptr, typeSearchText, Staying},
    {"Toggle Match case", Place::FindDialog, 1, nullptr, toggleMatchCase, Staying},
    {"Press Find next", Place::FindDialog, 4, nullptr, pressFindNext, {{NotFound}}},
    {"Press Close", Place::FindDialog, 2, nullptr, pressButton<IDCANCEL>, Closing},
    {"Close the find dialog", Place::FindDialog, 1, nullptr, closeBox, Closing},
    // About and the personality folder.
    {"Press OK", Place::AboutDialog, 2, nullptr, pressButton<IDC_ABOUT_OK>, Closing},
    {"Click the web page link", Place::AboutDialog, 1, nullptr, pressButton<IDC_ABOUT_LINK>, Staying},
    {"Close About", Place::AboutDialog, 1, nullptr, closeBox, Closing},
    {"Type a folder name", Place::PersonalityDialog, 2, nullptr, typeFolderName, Staying},
    {"Toggle a subfolder", Place::PersonalityDialog, 2, nullptr, toggleSubfolder, Staying},
    {"Press Next", Place::PersonalityDialog, 3, nullptr, pressButton<IDC_PERSONALITY_NEXT>, {{NoFolderName, FolderFailed}, Closes::Maybe}},
    {"Close the personality dialog", Place::PersonalityDialog, 1, nullptr, closeBox, Closing},
};

} // namespace

const Outcome &startOutcome()
{
    static const Outcome outcome = {{RecoverQuestion, LostForGood, NotBiography, Unreadable, HoldsMore}, Closes::Maybe};
    return outcome;
}

const std::vector<Action> &soakActions()
{
    return Actions;
}

void answerDialogsFor(Soak *soak)
{
    static const FileDialogRunner systemOpen = runOpenFileDialog, systemSave = runSaveFileDialog;
    static const BrowseForFolderFunction systemBrowser = browseForFolder;
    answering = soak;
    if (soak) prepareFolders(*soak);
    runOpenFileDialog = soak ? answerOpenDialog : systemOpen;
    runSaveFileDialog = soak ? answerSaveDialog : systemSave;
    browseForFolder = soak ? answerFolderBrowser : systemBrowser;
}
