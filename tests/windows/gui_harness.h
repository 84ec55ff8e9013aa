// Drives the program's real windows from inside the test process, the way
// Wine's own conformance tests do: a thread-local CBT hook sees every
// dialog and message box come up, and a thread timer runs scripted steps
// inside whatever modal loop is running at the time.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

struct SeenDialog {
    std::string caption;
    std::string text;          // the message of a message box
    UINT icon = 0;             // MB_ICONQUESTION, MB_ICONEXCLAMATION, ... or 0
    UINT buttons = 0;          // MB_OK, MB_YESNO, MB_OKCANCEL, MB_YESNOCANCEL
    bool hasOwner = false;
    HWND owner = NULL;
    bool ownerEnabled = false; // whether the owner could be used while it was up
};

// One script per test. Steps run in order, each once its window is up.
class GuiScript {
public:
    GuiScript();
    ~GuiScript();
    GuiScript(const GuiScript &) = delete;
    GuiScript &operator=(const GuiScript &) = delete;

    // Waits for the active dialog of this caption, then runs `action` on it.
    GuiScript &onDialog(const std::string &caption, std::function<void(HWND)> action);
    // Waits for the active dialog of this caption that has this button, and
    // presses it. (A file dialog's own prompts share its caption.)
    GuiScript &press(const std::string &caption, int button);
    // Waits for the active message box whose text begins with `text`,
    // whatever its caption (system prompts are captioned differently on
    // different systems).
    GuiScript &onMessage(const std::string &text, std::function<void(HWND)> action);
    // Waits for a popup menu, hands it to `action`, then closes it.
    GuiScript &onMenu(std::function<void(HMENU)> action);

    // Every dialog and message box that came up, in order.
    const std::vector<SeenDialog> &seen() const { return seen_; }
    // All steps ran, and no dialog had to be closed for lack of a step.
    bool finished() const;
    std::string problems() const { return problems_; }

private:
    struct Step {
        enum Kind { Dialog, Menu } kind;
        std::string caption;
        std::function<void(HWND)> dialogAction;
        std::function<void(HMENU)> menuAction;
        int requiredButton;
        bool byText;
    };
    static LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    void runStep();
    static bool matches(const Step &step, HWND dialog);
    void recordDialog(HWND dialog);
    void forgetWindow(HWND window);
    void closeStrayWindow(HWND window);

    HHOOK hook_ = NULL;
    HWND lastActedOn_ = NULL; // a dialog is acted on by one step only
    UINT_PTR timer_ = 0;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int idleTicks_ = 0;
    std::vector<SeenDialog> seen_;
    std::vector<HWND> recorded_;     // dialogs still open
    std::vector<size_t> seenIndex_;  // their places in seen_
    std::string problems_;
};

// Counts the messages of one kind sent to one window while it lives.
class MessageCounter {
public:
    MessageCounter(HWND window, UINT message);
    ~MessageCounter();
    MessageCounter(const MessageCounter &) = delete;
    MessageCounter &operator=(const MessageCounter &) = delete;
    int count() const { return count_; }

private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam);
    HWND window_;
    UINT message_;
    int count_ = 0;
    HHOOK hook_;
};

// The message of a message box ("" for a window without one).
std::string messageBoxText(HWND box);

// Presses a button of a dialog the way a click does.
void clickButton(HWND dialog, int id);
// Types `path` into a common file dialog and confirms it.
void chooseInFileDialog(HWND dialog, const std::string &path);

// Presses the keys in order and lets them go in reverse, as real key
// presses: {VK_CONTROL, 'S'} is Ctrl+S.
void pressKeys(std::vector<WORD> keys);

// A real drop of these files: the shell's DROPFILES block in global
// memory, in UTF-16 as Explorer makes it, which the program reads with
// DragQueryFile and releases with DragFinish.
HDROP makeDrop(const std::vector<std::string> &paths);

// Text as the program holds it (the ANSI code page) and as Windows keeps it.
std::string ansi(const std::wstring &text);
std::wstring wide(const std::string &text);
// Characters typed as real key presses, as an input method or the
// on-screen keyboard sends them.
void typeCharacters(const std::wstring &text);

void pumpMessages();
// Processes messages for about `ms` milliseconds.
void pumpFor(int ms);

// Reading what the main window shows.
int listRowCount(HWND list);
std::string listCell(HWND list, int row, int column);
bool listRowSelected(HWND list, int row);
void selectListRow(HWND list, int row, bool selected);
std::string listColumnText(HWND list, int column);
int listColumnWidth(HWND list, int column);
std::vector<std::string> tabTexts(HWND tabs);
int selectedTab(HWND tabs);
std::string statusText(HWND statusBar, int part);
std::string windowText(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT childRect(HWND child);
UINT menuState(HWND window, int id);
bool menuItemGreyed(HWND window, int id);
// The text of the window's menu item `id`, keys and all.
std::string menuItemText(HWND window, int id);
std::vector<std::string> menuItemTexts(HMENU menu);
std::vector<UINT> menuItemIds(HMENU menu);

// Files.
std::string readFileBytes(const std::string &path);
void writeFileBytes(const std::string &path, const std::string &bytes);
bool fileExists(const std::string &path);
// A fresh empty folder for one test, below the system's temporary folder.
std::string makeTestFolder(const std::string &name);
