#include "gui_harness.h"

#include <commctrl.h>
#include <shlobj.h> // DROPFILES

#include <cstdio>
#include <cstring>

namespace {

// The one script of the running test; hooks and timer procedures carry no
// context of their own.
GuiScript *runningScript = nullptr;

constexpr UINT TickMs = 40;
// A dialog no step asked for is closed after this many ticks, so a test
// that forgot a step fails instead of hanging.
constexpr int StrayTicks = 75;

std::string classNameOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool isDialogWindow(HWND window)
{
    return window && classNameOf(window) == "#32770";
}

// The child's own visibility: a closing dialog is hidden as a whole first,
// which must not hide which buttons it had.
bool shownChild(HWND child)
{
    return child && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE);
}

bool visibleChild(HWND dialog, int id)
{
    return shownChild(GetDlgItem(dialog, id));
}

UINT iconFlagOf(HICON icon)
{
    struct Known { LPCSTR id; UINT flag; };
    const Known known[] = {
        {IDI_QUESTION, MB_ICONQUESTION}, {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
        {IDI_HAND, MB_ICONERROR}, {IDI_ASTERISK, MB_ICONINFORMATION},
    };
    for (const Known &k : known)
        if (icon && icon == LoadIconA(NULL, k.id)) return k.flag;
    return 0;
}

struct BoxContents {
    std::string text;
    UINT icon = 0;
};

// Message boxes keep their text and icon in static controls whose ids
// differ between systems, so they are told apart by style instead.
BOOL CALLBACK readBoxChild(HWND child, LPARAM lParam)
{
    BoxContents &box = *reinterpret_cast<BoxContents *>(lParam);
    if (classNameOf(child) != "Static" || !shownChild(child)) return TRUE;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
        box.icon = iconFlagOf(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)));
        return TRUE;
    }
    if (box.text.empty()) box.text = windowText(child);
    return TRUE;
}

UINT buttonFlagsOf(HWND dialog)
{
    const bool ok = visibleChild(dialog, IDOK), cancel = visibleChild(dialog, IDCANCEL);
    const bool yes = visibleChild(dialog, IDYES), no = visibleChild(dialog, IDNO);
    if (yes && no) return cancel ? MB_YESNOCANCEL : MB_YESNO;
    if (ok && cancel) return MB_OKCANCEL;
    return MB_OK;
}

} // namespace

GuiScript::GuiScript()
{
    runningScript = this;
    hook_ = SetWindowsHookExA(WH_CBT, cbtHook, NULL, GetCurrentThreadId());
    timer_ = SetTimer(NULL, 0, TickMs, tick);
}

GuiScript::~GuiScript()
{
    KillTimer(NULL, timer_);
    UnhookWindowsHookEx(hook_);
    runningScript = nullptr;
}

GuiScript &GuiScript::onDialog(const std::string &caption, std::function<void(HWND)> action)
{
    steps_.push_back({Step::Dialog, caption, std::move(action), nullptr, 0, false});
    return *this;
}

GuiScript &GuiScript::onMessage(const std::string &text, std::function<void(HWND)> action)
{
    steps_.push_back({Step::Dialog, text, std::move(action), nullptr, 0, true});
    return *this;
}

GuiScript &GuiScript::press(const std::string &caption, int button)
{
    onDialog(caption, [button](HWND dialog) { clickButton(dialog, button); });
    steps_.back().requiredButton = button;
    return *this;
}

GuiScript &GuiScript::onMenu(std::function<void(HMENU)> action)
{
    steps_.push_back({Step::Menu, "", nullptr, std::move(action), 0, false});
    return *this;
}

bool GuiScript::finished() const
{
    return next_ == steps_.size() && problems_.empty();
}

LRESULT CALLBACK GuiScript::cbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && runningScript && isDialogWindow(window))
        runningScript->recordDialog(window);
    // A later dialog may get the handle of a closed one.
    if (code == HCBT_DESTROYWND && runningScript) runningScript->forgetWindow(window);
    return CallNextHookEx(NULL, code, wParam, lParam);
}

void CALLBACK GuiScript::tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (runningScript) runningScript->runStep();
}

// A dialog is noted when it is activated, which may be before its controls
// exist, and read again before a step acts on it and when it closes.
void GuiScript::recordDialog(HWND dialog)
{
    size_t index = 0;
    while (index < recorded_.size() && recorded_[index] != dialog) ++index;
    if (index == recorded_.size()) {
        recorded_.push_back(dialog);
        seenIndex_.push_back(seen_.size());
        seen_.emplace_back();
    }
    SeenDialog &seen = seen_[seenIndex_[index]];
    seen.caption = windowText(dialog);
    BoxContents box;
    EnumChildWindows(dialog, readBoxChild, reinterpret_cast<LPARAM>(&box));
    if (!box.text.empty() || seen.text.empty()) seen.text = box.text;
    if (box.icon || !seen.icon) seen.icon = box.icon;
    if (GetDlgItem(dialog, IDOK) || GetDlgItem(dialog, IDYES)) seen.buttons = buttonFlagsOf(dialog);
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.hasOwner = seen.owner != NULL;
    // Read while the dialog is up; a closing one has given the owner back.
    if (seen.owner && IsWindowVisible(dialog)) seen.ownerEnabled = IsWindowEnabled(seen.owner);
}

void GuiScript::forgetWindow(HWND window)
{
    for (size_t i = 0; i < recorded_.size(); ++i) {
        if (recorded_[i] != window) continue;
        recordDialog(window);
        recorded_.erase(recorded_.begin() + i);
        seenIndex_.erase(seenIndex_.begin() + i);
        return;
    }
}

bool GuiScript::matches(const Step &step, HWND dialog)
{
    if (step.byText) return messageBoxText(dialog).compare(0, step.caption.size(), step.caption) == 0;
    return windowText(dialog) == step.caption &&
           (!step.requiredButton || visibleChild(dialog, step.requiredButton));
}

void GuiScript::runStep()
{
    HWND active = GetActiveWindow();
    if (next_ < steps_.size()) {
        const Step step = steps_[next_];
        if (step.kind == Step::Menu) {
            HWND menuWindow = FindWindowA("#32768", NULL);
            if (!menuWindow || !IsWindowVisible(menuWindow)) return;
            HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
            ++next_;
            step.menuAction(menu);
            EndMenu();
            return;
        }
        // A modal dialog is active before its loop first shows it; a step
        // acts on what a user could see.
        if (isDialogWindow(active) && IsWindowVisible(active) && active != lastActedOn_ &&
            matches(step, active)) {
            lastActedOn_ = active;
            recordDialog(active);
            ++next_;
            idleTicks_ = 0;
            step.dialogAction(active);
            return;
        }
    }
    if (!isDialogWindow(active)) {
        idleTicks_ = 0;
        return;
    }
    if (++idleTicks_ >= StrayTicks) {
        idleTicks_ = 0;
        closeStrayWindow(active);
    }
}

void GuiScript::closeStrayWindow(HWND window)
{
    recordDialog(window);
    problems_ += "unexpected dialog \"" + windowText(window) + "\" closed; ";
    // Cancel where there is one, so nothing is saved or replaced by accident.
    int button = IDCANCEL;
    if (!GetDlgItem(window, IDCANCEL)) button = GetDlgItem(window, IDNO) ? IDNO : IDOK;
    // A dialog with buttons of its own ids only closes by its close box.
    if (!GetDlgItem(window, button)) PostMessageA(window, WM_CLOSE, 0, 0);
    else clickButton(window, button);
}

namespace {
MessageCounter *runningCounter = nullptr;
} // namespace

MessageCounter::MessageCounter(HWND window, UINT message)
    : window_(window), message_(message),
      hook_(SetWindowsHookExA(WH_CALLWNDPROC, hook, NULL, GetCurrentThreadId()))
{
    runningCounter = this;
}

MessageCounter::~MessageCounter()
{
    UnhookWindowsHookEx(hook_);
    runningCounter = nullptr;
}

LRESULT CALLBACK MessageCounter::hook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *sent = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && runningCounter && sent->hwnd == runningCounter->window_ &&
        sent->message == runningCounter->message_)
        ++runningCounter->count_;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

std::string messageBoxText(HWND box)
{
    BoxContents contents;
    EnumChildWindows(box, readBoxChild, reinterpret_cast<LPARAM>(&contents));
    return contents.text;
}

void clickButton(HWND dialog, int id)
{
    // Posted, not sent, so a modal loop the button starts runs outside the
    // timer callback that pressed it.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void chooseInFileDialog(HWND dialog, const std::string &path)
{
    const int explorerFileName = 0x47c, classicFileName = 0x480;
    HWND field = GetDlgItem(dialog, explorerFileName);
    if (!field) field = GetDlgItem(dialog, classicFileName);
    SetWindowTextA(field, path.c_str());
    clickButton(dialog, IDOK);
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        // A quit message left from a destroyed main window would end the
        // next test's modal loops at once.
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void pressKeys(std::vector<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        inputs.push_back(down);
    }
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        INPUT up = {};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void pumpFor(int ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        pumpMessages();
        Sleep(5);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
    pumpMessages();
}

int listRowCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string listCell(HWND list, int row, int column)
{
    // Wine fills the whole buffer of a cell too long for it and ends it
    // with no terminator; the byte past it is one.
    char text[257] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

bool listRowSelected(HWND list, int row)
{
    return SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
}

void selectListRow(HWND list, int row, bool selected)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

std::string listColumnText(HWND list, int column)
{
    char text[256] = "";
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
    return text;
}

int listColumnWidth(HWND list, int column)
{
    return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
}

std::vector<std::string> tabTexts(HWND tabs)
{
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[1024] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

int selectedTab(HWND tabs)
{
    return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
}

std::string statusText(HWND statusBar, int part)
{
    // Read as the control keeps it: the length it gives an ANSI caller
    // counts characters, not the bytes they take.
    const LRESULT length = SendMessageW(statusBar, SB_GETTEXTLENGTHW, part, 0);
    std::wstring text(LOWORD(length) + 1, L'\0');
    SendMessageW(statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(LOWORD(length));
    return ansi(text);
}

std::string windowText(HWND window)
{
    // The length is at most what the text takes; across processes it is
    // more.
    const int length = GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    text.resize(GetWindowTextA(window, &text[0], length + 1));
    return text;
}

RECT childRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(NULL, GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

UINT menuState(HWND window, int id)
{
    return GetMenuState(GetMenu(window), id, MF_BYCOMMAND);
}

bool menuItemGreyed(HWND window, int id)
{
    return (menuState(window, id) & MF_GRAYED) != 0;
}

std::string menuItemText(HWND window, int id)
{
    char text[256] = "";
    GetMenuStringA(GetMenu(window), id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

std::vector<std::string> menuItemTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

std::vector<UINT> menuItemIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) ids.push_back(GetMenuItemID(menu, i));
    return ids;
}

std::string readFileBytes(const std::string &path)
{
    std::string bytes;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

void writeFileBytes(const std::string &path, const std::string &bytes)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

bool fileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

void removeFolderContents(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            removeFolderContents(path);
            RemoveDirectoryA(path.c_str());
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

std::string makeTestFolder(const std::string &name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "memorion-tests";
    CreateDirectoryA(root.c_str(), NULL);
    const std::string folder = root + "\\" + name;
    CreateDirectoryA(folder.c_str(), NULL);
    removeFolderContents(folder);
    return folder;
}

HDROP makeDrop(const std::vector<std::string> &paths)
{
    std::wstring names;
    for (const std::string &path : paths) names += wide(path) + L'\0';
    const size_t size = sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, size);
    DROPFILES *drop = static_cast<DROPFILES *>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.c_str(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

std::string ansi(const std::wstring &text)
{
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                     &bytes[0], static_cast<int>(bytes.size()), NULL, NULL));
    return bytes;
}

std::wstring wide(const std::string &text)
{
    std::wstring units(text.size(), L'\0');
    units.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                     &units[0], static_cast<int>(units.size())));
    return units;
}

void typeCharacters(const std::wstring &text)
{
    std::vector<INPUT> inputs;
    for (wchar_t unit : text)
        for (DWORD up : {0, KEYEVENTF_KEYUP}) {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = unit;
            key.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(key);
        }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
