#include "soak_driver.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "../res/resource.h"
#include "document/core/biography_writer.h"
#include "document/core/document_history.h"
#include "document/document_files.h"
#include "document/core/recovery_journal.h"
#include "document/recovery_journal_writer.h"
#include "gui_harness.h"
#include "main_window_fixture.h"
#include "mainwindow/main_window.h"
#include "mainwindow/outside_open.h"
#include "soak_checks.h"

namespace {

Soak *runningSoak = nullptr;

constexpr UINT RunQueued = WM_APP;
constexpr UINT Continue = WM_APP + 1;
constexpr UINT TickMs = 10;
// A step that shows nothing new for this long has hung the program.
constexpr DWORD StuckMs = 30000;
constexpr size_t TraceLength = 25;
// How many of the latest states of the history the soak keeps to compare
// undo and redo with: a copy of a document near capacity is megabytes.
constexpr int KeptStates = 12;

const char DriverClass[] = "MemorionSoakDriver";

std::string classNameOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool isDialog(HWND window)
{
    return classNameOf(window) == "#32770";
}

bool isMenu(HWND window)
{
    return classNameOf(window) == "#32768";
}

BOOL CALLBACK collectWindow(HWND window, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND> *>(lParam)->push_back(window);
    return TRUE;
}

// The thread's dialogs and popup menus, topmost first.
std::vector<HWND> threadDialogsAndMenus()
{
    std::vector<HWND> all, found;
    EnumThreadWindows(GetCurrentThreadId(), collectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all)
        if (isDialog(window) || isMenu(window)) found.push_back(window);
    return found;
}

Place placeOf(HWND window)
{
    if (isMenu(window)) return Place::Menu;
    const std::string caption = windowText(window);
    struct Known { const char *caption; Place place; };
    static const Known known[] = {
        {"Entry editor", Place::Editor},
        {"Set title text", Place::FieldDialog}, {"Set entry date text", Place::FieldDialog},
        {"Set time period text", Place::FieldDialog}, {"Set location text", Place::FieldDialog},
        {"Set detail text", Place::FieldDialog}, {"Set keywords text", Place::FieldDialog},
        {"Set topic text", Place::TopicDialog}, {"Associated files", Place::FilesDialog},
        {"Create new category", Place::NewCategoryDialog},
        {"Rename category", Place::RenameCategoryDialog}, {"Move to category", Place::MoveDialog},
        {"Create new biography file", Place::NewFileDialog}, {"About", Place::AboutDialog},
        {"Create personality folder", Place::PersonalityDialog},
        {"Find entries", Place::FindDialog},
    };
    // Message boxes have captions of their own, but for Find's, which is
    // told apart by its text box.
    for (const Known &k : known)
        if (caption == k.caption && (k.place != Place::FindDialog || GetDlgItem(window, IDC_FIND_TEXT)))
            return k.place;
    return Place::MessageBox;
}

bool matchesOutcome(HWND window, const std::vector<std::string> &mayOpen)
{
    const std::string caption = isMenu(window) ? "menu" : windowText(window);
    const std::string text = isMenu(window) ? "" : messageBoxText(window);
    for (const std::string &allowed : mayOpen)
        if (caption == allowed || (!text.empty() && text.find(allowed) != std::string::npos))
            return true;
    return false;
}

ULONGLONG joined(DWORD high, DWORD low)
{
    return (static_cast<ULONGLONG>(high) << 32) | low;
}

bool fileStamp(const std::string &path, std::pair<ULONGLONG, ULONGLONG> &stamp)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    stamp = {joined(data.nFileSizeHigh, data.nFileSizeLow),
             joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
    return true;
}

using FileStamp = std::pair<ULONGLONG, ULONGLONG>; // size, time written

// The files of a folder with their stamps, by name.
std::map<std::string, FileStamp> filesIn(const std::string &folder)
{
    std::map<std::string, FileStamp> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        files[found.cFileName] = {joined(found.nFileSizeHigh, found.nFileSizeLow),
                                  joined(found.ftLastWriteTime.dwHighDateTime,
                                         found.ftLastWriteTime.dwLowDateTime)};
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

const char *placeName(Place place)
{
    static const char *const names[] = {
        "main window", "menu", "entry editor", "field dialog", "topic dialog", "files dialog",
        "new category dialog", "rename dialog", "move dialog", "new file dialog", "About",
        "personality dialog", "find dialog", "message box",
    };
    return names[static_cast<int>(place)];
}

} // namespace

Soak::Soak(const SoakSettings &settings, std::function<void()> startProgram)
    : settings_(settings), startProgram_(std::move(startProgram)), random_(settings.seed)
{
    runningSoak = this;
    WNDCLASSA driverClass = {};
    driverClass.lpfnWndProc = driverProc;
    driverClass.hInstance = GetModuleHandleA(NULL);
    driverClass.lpszClassName = DriverClass;
    RegisterClassA(&driverClass); // fails harmlessly from the second soak on
    driver_ = CreateWindowExA(0, DriverClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                              GetModuleHandleA(NULL), NULL);
    makeTestFolder(settings_.folder.substr(settings_.folder.rfind('\\') + 1));
    // No journal of an earlier seed's crashes.
    makeTestFolder("recovery");
    CreateDirectoryA(filesFolder().c_str(), NULL);
    CreateDirectoryA(attachFolder().c_str(), NULL);
    answerDialogsFor(this);
}

Soak::~Soak()
{
    answerDialogsFor(nullptr);
    if (timer_) KillTimer(NULL, timer_);
    DestroyWindow(driver_);
    runningSoak = nullptr;
}

int Soak::below(int n)
{
    return n <= 1 ? 0 : static_cast<int>(random_() % static_cast<unsigned>(n));
}

bool Soak::percent(int p)
{
    return below(100) < p;
}

HWND Soak::target() const
{
    return frames_.empty() ? MainWindow : frames_.back().window;
}

Place Soak::place() const
{
    return frames_.empty() ? Place::Main : frames_.back().place;
}

std::string Soak::describeTop() const
{
    if (frames_.empty()) return "main window";
    HWND top = frames_.back().window;
    const std::string text = isMenu(top) ? "" : messageBoxText(top);
    return std::string(placeName(place())) + " \"" + windowText(top) + "\"" +
           (text.empty() ? "" : " saying \"" + text.substr(0, 80) + "\"");
}

void Soak::expectOutcome(const Outcome &outcome)
{
    stepOutcome_ = outcome;
    expectedStep_ = outcome.step;
    expectedMove_ = outcome.move;
}

// The thread's dialogs and menus, for a report of what is stuck.
std::string Soak::describeWindows() const
{
    std::string text = "windows:";
    for (HWND window : threadDialogsAndMenus())
        text += " \"" + windowText(window) + "\"" + (IsWindowVisible(window) ? "" : " (hidden)");
    return text;
}

void Soak::run()
{
    for (const auto &file : filesIn(filesFolder())) seenFiles_[filesFolder() + "\\" + file.first] = file.second;
    openStartFile();
    lastProgress_ = GetTickCount();
    timer_ = SetTimer(NULL, 0, TickMs, tick);

    PostMessageA(driver_, Continue, 0, 0);
    while (!done_) {
        MSG message;
        const BOOL got = GetMessageA(&message, NULL, 0, 0);
        if (got == -1) break;
        if (got == 0) continue; // the quit message of a closed main window
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(NULL, timer_);
    timer_ = 0;
    pumpMessages();
}

LRESULT CALLBACK Soak::driverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Soak *soak = runningSoak;
    if (soak && message == RunQueued) {
        soak->actionQueued_ = false;
        std::function<void()> action = std::move(soak->queued_);
        soak->queued_ = nullptr;
        if (action) action();
        // Whatever the action opened has closed again by now. (A step that
        // opened a modal loop goes on from the timer instead: a hook that
        // saw the loop wait would cost every message sent a trip to the
        // Wine server.)
        if (!soak->continuePosted_) {
            soak->continuePosted_ = true;
            PostMessageA(window, Continue, 0, 0);
        }
        return 0;
    }
    if (soak && message == Continue) {
        soak->continuePosted_ = false;
        soak->advance();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CALLBACK Soak::tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (runningSoak) runningSoak->advance();
}

void Soak::post(std::function<void()> action)
{
    queued_ = std::move(action);
    actionQueued_ = true;
    PostMessageA(driver_, RunQueued, 0, 0);
}

void Soak::advance()
{
    if (inAdvance_ || actionQueued_ || done_ || swapping_) return;
    inAdvance_ = true;
    if (GetTickCount() - lastProgress_ > StuckMs) {
        if (!stopping_) fail("nothing settled for " + std::to_string(StuckMs / 1000) + " s; " + describeWindows());
        else {
            std::fprintf(stderr, "soak: could not close the windows after a failure; giving up\n");
            std::fflush(stderr);
            ExitProcess(3);
        }
        lastProgress_ = GetTickCount();
    }
    if (settle()) {
        lastProgress_ = GetTickCount();
        if (!stopping_) {
            verifyStep();
            if (!stopping_) verifyState();
            if (!stopping_) verifyHistory();
        }
        if (stopping_ || step_ >= settings_.steps) {
            stopping_ = true;
            if (frames_.empty()) done_ = true;
            else closeTop();
        } else {
            takeStep();
        }
    }
    inAdvance_ = false;
}

// Brings the record of open windows up to date; false while a window is
// still on its way (a dialog is shown only once its loop first waits).
bool Soak::settle()
{
    if (!IsWindow(MainWindow)) {
        if (!stopping_ && !programMayEnd) fail("the main window is gone");
        programMayEnd = false;
        restartProgram();
        return false; // the start runs as a step of its own
    }
    const std::vector<HWND> present = threadDialogsAndMenus();
    auto known = [&](HWND window) {
        for (const Frame &frame : frames_)
            if (frame.window == window) return true;
        return false;
    };
    // A dialog on its way is hidden until its loop first waits, or while
    // it tells something as it starts; one that has ended stays hidden
    // until its loop returns.
    auto tellsSomething = [&present](HWND dialog) {
        for (HWND window : present)
            if (GetWindow(window, GW_OWNER) == dialog && IsWindowVisible(window)) return true;
        return false;
    };
    std::set<HWND> stillThere;
    for (HWND window : present) {
        if (known(window) || ended_.count(window)) stillThere.insert(window);
        else if (!IsWindowVisible(window) && isDialog(window) && !tellsSomething(window)) return false;
    }
    ended_ = stillThere;
    std::vector<HWND> shown;
    for (HWND window : present)
        if (IsWindowVisible(window)) shown.push_back(window);

    auto isShown = [&](HWND window) {
        return std::find(shown.begin(), shown.end(), window) != shown.end();
    };
    // Windows close from the top down.
    size_t kept = 0;
    while (kept < frames_.size() && isShown(frames_[kept].window)) ++kept;
    for (size_t i = kept; i < frames_.size(); ++i)
        if (isShown(frames_[i].window) && !stopping_)
            fail("the " + std::string(placeName(frames_[i].place)) + " \"" +
                 windowText(frames_[i].window) + "\" stayed open under a window that closed");
    bool targetClosed = false;
    for (size_t i = kept; i < frames_.size(); ++i) targetClosed = targetClosed || frames_[i].window == stepTarget_;
    // Answering a message box lets the command that asked go on, which may
    // end its dialog too; nothing else closes more than its own window.
    if (targetClosed && frames_.size() - kept > 1 && action_ && action_->place != Place::MessageBox &&
        !stopping_)
        fail("acting on the " + stepTargetName_ + " closed the window under it too");
    frames_.resize(kept);

    // New windows, the lowest first (the enumeration lists the topmost first).
    for (auto window = shown.rbegin(); window != shown.rend(); ++window) {
        if (known(*window)) continue;
        std::vector<std::string> allowed = stepOutcome_.mayOpen;
        allowed.insert(allowed.end(), inherited_.begin(), inherited_.end());
        if (!stopping_ && !matchesOutcome(*window, allowed))
            fail("\"" + windowText(*window) + "\"" +
                 (messageBoxText(*window).empty() ? "" : " saying \"" + messageBoxText(*window) + "\"") +
                 " opened, which this step cannot open");
        frames_.push_back({*window, placeOf(*window), allowed});
    }
    if (action_ && !stopping_) {
        const bool targetIsOpen = stepTarget_ != MainWindow && !targetClosed;
        if (stepOutcome_.closes == Closes::No && targetClosed)
            fail("the " + stepTargetName_ + " closed");
        if (stepOutcome_.closes == Closes::Yes && stepTarget_ != MainWindow && targetIsOpen &&
            IsWindow(stepTarget_))
            fail("the " + stepTargetName_ + " did not close");
    }
    return true;
}

void Soak::startAgain()
{
    // The closed window left its quit message behind; a modal loop that
    // met it would end at once. No step while there is no main window.
    swapping_ = true;
    pumpMessages();
    frames_.clear();
    ended_.clear();
    startProgram_();
    swapping_ = false;
    ++starts_;
    diskPath_.clear();
    diskDocument_.reset();
    checkStart();
}

// The start may ask about journals a crash left: it runs as a step, whose
// questions are answered as any.
void Soak::restartProgram()
{
    startAgain();
    expectOutcome(startOutcome());
    post([this] { openStartFile(); });
}

void Soak::crash()
{
    if (BiographyDocument.modified)
        crashes_.push_back({BiographyDocument.filePath, biographyFileBytes(BiographyDocument), history_});
    ++crashCount_;
    leaveRecoveryJournal();
    swapping_ = true;
    DestroyWindow(MainWindow);
    startAgain();
    openStartFile();
}

// After a start: a biography a crash left, recovered; or the start file;
// or nothing.
void Soak::checkStart()
{
    afterStep([this](std::string &failure) {
        if (place() == Place::MessageBox) return false;
        bool recovered = false;
        failure = checkRecovered(recovered);
        const Biography &d = BiographyDocument;
        if (failure.empty() && !recovered && d.documentLoaded && (d.modified || d.filePath != startFile()))
            failure = "the program started with a biography it neither recovered nor was given";
        return true;
    });
}

bool Soak::journalKeptFor(const std::string &path)
{
    WIN32_FIND_DATAA found;
    const std::string folder = testRecoveryFolder() + "\\";
    HANDLE search = FindFirstFileA((folder + "*.journal").c_str(), &found);
    bool kept = false;
    for (bool more = search != INVALID_HANDLE_VALUE; more && !kept; more = FindNextFileA(search, &found))
        kept = readJournal(readFileBytes(folder + found.cFileName)).path == path;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return kept;
}

std::string Soak::checkRecovered(bool &recovered)
{
    const Biography &d = BiographyDocument;
    recovered = false;
    if (!d.documentLoaded || !d.modified) return "";
    const std::string now = biographyFileBytes(d);
    for (auto crash = crashes_.begin(); crash != crashes_.end(); ++crash) {
        if (crash->bytes != now || (d.filePath != crash->path && !d.filePath.empty())) continue;
        recovered = true;
        ++recoveredCount_;
        const Crash left = std::move(*crash);
        crashes_.erase(crash);
        return followRecovery(left.history, left.bytes);
    }
    return "";
}

// The recovered history, walked back to its oldest step, on to its
// newest, and back: it passes the state last saved (unsaved everywhere
// else, and there too when the file changed since), and comes back to the
// document the crash left.
std::string Soak::followRecovery(const ExpectedHistory &before, const std::string &left)
{
    const Biography &d = BiographyDocument;
    const bool inPlace = !d.filePath.empty();
    int at = before.done, oldest = at;
    std::string problem, oldestBytes;
    for (int move : {-1, +1}) {
        while (problem.empty() && (move < 0 ? canUndo() : canRedo())) {
            move < 0 ? undoStep() : redoStep();
            at += move;
            if (d.modified == (inPlace && at == before.savedAt))
                problem = "the recovered history leaves modified " + std::to_string(d.modified) + " at step " +
                          std::to_string(at);
            else if (at == before.savedAt && biographyFileBytes(d) != before.savedBytes)
                problem = "the recovered history does not pass the state last saved";
        }
        if (move > 0) continue;
        oldest = at;
        oldestBytes = biographyFileBytes(d);
    }
    if (problem.empty() && before.savedAt >= 0 && (before.savedAt < oldest || before.savedAt > at))
        problem = "the recovered history does not reach the state last saved";
    const int newest = at;
    for (; problem.empty() && at > before.done; --at) undoStep();
    if (problem.empty() && biographyFileBytes(d) != left)
        problem = "the recovered history does not come back to the document the crash left";
    if (!problem.empty()) return problem;
    ExpectedHistory &h = history_;
    h = ExpectedHistory();
    h.steps.assign(before.steps.begin() + oldest, before.steps.begin() + newest);
    h.done = before.done - oldest;
    h.savedAt = inPlace && before.savedAt >= oldest && before.savedAt <= newest ? before.savedAt - oldest : -1;
    h.startBytes = oldestBytes;
    h.savedBytes = before.savedBytes;
    states_.clear();
    states_.resize(h.steps.size() + 1);
    states_[h.done] = copyOfDocument();
    return "";
}

// A near-capacity seed's program is started with its file, as Explorer
// starts it; any other starts empty.
void Soak::openStartFile()
{
    openCommandLineFile(settings_.nearCapacity ? ("\"" + startFile() + "\"").c_str() : "");
    startExpectedHistory();
}

void Soak::startExpectedHistory()
{
    history_ = ExpectedHistory();
    history_.savedAt = BiographyDocument.modified ? -1 : 0;
    history_.startBytes = biographyFileBytes(BiographyDocument);
    history_.savedBytes = history_.startBytes;
    states_.clear();
    states_.push_back(copyOfDocument());
    historyStarts_ = false;
}

// Once every check of the step is decided: a change of the document is the
// step the command makes, or an undo or redo; the Edit menu names the
// steps either side. The files dialog writes a list back in its own form,
// no change of the user's, so files compare by their paths.
void Soak::verifyHistory()
{
    if (!checks_.empty()) return;
    ExpectedHistory &h = history_;
    if (historyStarts_) {
        startExpectedHistory();
    } else if (const std::string change = documentDifference(BiographyDocument, *states_[h.done], Compare::AsShown);
               !change.empty()) {
        if (expectedMove_ != 0) {
            const std::string problem = followUndoOrRedo();
            if (!problem.empty()) return fail(problem);
        } else if (expectedStep_) {
            recordStep();
        } else {
            return fail("the document changed, yet nothing this step did changes it: " + change);
        }
    }
    if (!BiographyDocument.modified && h.savedAt != h.done) {
        h.savedAt = h.done;
        h.savedBytes = biographyFileBytes(BiographyDocument);
    }
    const std::string problem = editMenuDifference(h.done > 0 ? h.steps[h.done - 1] : "",
                                                   h.done < static_cast<int>(h.steps.size()) ? h.steps[h.done] : "");
    if (!problem.empty()) fail(problem);
}

// The step made drops those that could have been redone, and the oldest
// once there are too many.
void Soak::recordStep()
{
    ExpectedHistory &h = history_;
    h.steps.resize(h.done);
    states_.resize(h.done + 1);
    if (h.savedAt > h.done) h.savedAt = -1;
    h.steps.push_back(expectedStep_);
    states_.push_back(copyOfDocument());
    if (++h.done > KeptStates) states_[h.done - KeptStates - 1].reset();
    if (h.done > MaxHistorySteps) {
        h.steps.erase(h.steps.begin());
        states_.pop_front();
        --h.done;
        h.savedAt = h.savedAt > 0 ? h.savedAt - 1 : -1;
        h.whole = false;
    }
}

// An undo or redo brings back the state it leads to, unsaved exactly when
// that is not the one last saved.
std::string Soak::followUndoOrRedo()
{
    ExpectedHistory &h = history_;
    const Biography &d = BiographyDocument;
    h.done += expectedMove_;
    if (h.done < 0 || h.done > static_cast<int>(h.steps.size()))
        return "an undo or redo changed the document with nothing to undo or redo";
    if (d.modified != (h.done != h.savedAt))
        return std::string("an undo or redo left modified ") + (d.modified ? "set" : "clear");
    std::unique_ptr<Biography> &state = states_[h.done];
    const std::string wrong = state ? documentDifference(d, *state, Compare::AsShown) : "";
    if (!wrong.empty()) return "an undo or redo did not bring back the document as it was: " + wrong;
    if (!state) state = copyOfDocument();
    return "";
}

void Soak::fail(const std::string &what)
{
    if (stopping_) return;
    stopping_ = true;
    failure_ = "seed " + std::to_string(settings_.seed) + ", step " + std::to_string(step_) +
               " (" + (action_ ? action_->name : "start") + "): " + what;
    std::fprintf(stderr, "\nSOAK FAILURE %s\nlast steps:\n", failure_.c_str());
    for (const std::string &line : trace_) std::fprintf(stderr, "  %s\n", line.c_str());
    std::fprintf(stderr, "replay: memorion_soak_test --seeds=%u --steps=%ld --trace\n",
                 settings_.seed, step_);
    std::fflush(stderr);
}

void Soak::verifyStep()
{
    std::vector<StepCheck> waiting;
    for (StepCheck &check : checks_) {
        std::string failure;
        if (!check(failure)) {
            waiting.push_back(std::move(check));
            continue;
        }
        if (!failure.empty()) return fail(failure);
    }
    checks_ = std::move(waiting);
}

void Soak::verifyState()
{
    std::string problem = brokenLimit();
    if (problem.empty() && place() == Place::Main) problem = mainWindowDifference();
    if (problem.empty() && place() == Place::Editor) problem = editorDifference();
    if (problem.empty() && place() == Place::FilesDialog) problem = fileListDifference();
    if (!problem.empty()) return fail(problem);
    verifyDisk();
}

// Every file a step wrote holds what the writer makes of the document it
// holds; the document's own file, while nothing is unsaved, holds the
// document itself.
void Soak::verifyDisk()
{
    const Biography &d = BiographyDocument;
    for (const auto &file : filesIn(filesFolder())) {
        const std::string &name = file.first;
        const std::string path = filesFolder() + "\\" + name;
        const FileStamp &stamp = file.second;
        auto endsWith = [&name](const std::string &end) {
            return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
        };
        if (endsWith(".html")) continue; // an exported web page
        if (!endsWith(".xml")) return fail("a save left \"" + name + "\" behind");
        auto seen = seenFiles_.find(path);
        if (seen != seenFiles_.end() && seen->second == stamp) continue;
        seenFiles_[path] = stamp;
        const std::string bytes = readFileBytes(path);
        std::unique_ptr<Biography> read = readBiography(bytes);
        if (savedFileBytes(*read) != bytes)
            return fail("\"" + name + "\" was written with bytes the writer does not make");
        if (path == d.filePath && !d.modified) {
            const std::string difference = documentDifference(d, *read, Compare::Exact);
            if (!difference.empty())
                return fail("reading the saved \"" + name + "\" back differs: " + difference);
        }
    }
    if (!d.documentLoaded || d.modified) return;
    std::pair<ULONGLONG, ULONGLONG> stamp;
    if (!fileStamp(d.filePath, stamp))
        return fail("nothing is unsaved, yet \"" + d.filePath + "\" is not there");
    if (!diskDocument_ || diskPath_ != d.filePath || diskStamp_ != stamp) {
        diskDocument_ = readBiography(readFileBytes(d.filePath));
        diskPath_ = d.filePath;
        diskStamp_ = stamp;
    }
    const std::string difference = documentDifference(d, *diskDocument_, Compare::AsShown);
    if (!difference.empty())
        fail("the document differs from its file but is not marked modified: " + difference);
}

void Soak::takeStep()
{
    const Place here = place();
    std::vector<const Action *> candidates;
    int total = 0;
    for (const Action &action : soakActions()) {
        if (action.place != here || (action.possible && !action.possible(*this))) continue;
        candidates.push_back(&action);
        total += action.weight;
    }
    if (total == 0) return fail("nothing can be done in the " + describeTop());
    int chosen = below(total);
    const Action *action = candidates.back();
    for (const Action *candidate : candidates) {
        if (chosen < candidate->weight) {
            action = candidate;
            break;
        }
        chosen -= candidate->weight;
    }
    ++step_;
    if (here == Place::Main) programMayEnd = false;
    action_ = action;
    // A message box answered goes on with the step of what asked it.
    if (here == Place::MessageBox) stepOutcome_ = action->outcome;
    else expectOutcome(action->outcome);
    stepTarget_ = target();
    stepTargetName_ = describeTop();
    inherited_ = frames_.empty() ? std::vector<std::string>() : frames_.back().mayOpen;
    // A long run shows how far it has come.
    if (step_ % 1000 == 0) {
        std::printf("soak seed %u: step %ld\n", settings_.seed, step_);
        std::fflush(stdout);
    }
    const std::string line = std::to_string(step_) + ": " + action->name + " in the " + describeTop();
    if (settings_.trace) std::fprintf(stderr, "%s\n", line.c_str());
    trace_.push_back(line);
    if (trace_.size() > TraceLength) trace_.erase(trace_.begin());
    post([this, action] { action->run(*this); });
}

// Ends the run by closing every window, cancelling where it can.
void Soak::closeTop()
{
    action_ = nullptr;
    HWND top = target();
    const Place here = place();
    post([top, here] {
        if (!IsWindow(top)) return;
        if (here == Place::Menu) {
            EndMenu();
        } else if (here == Place::MessageBox) {
            auto shown = [top](int id) {
                HWND button = GetDlgItem(top, id);
                return button && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE);
            };
            const int button = shown(IDNO) ? IDNO : shown(IDCANCEL) ? IDCANCEL : IDOK;
            SendMessageA(top, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(top, button)));
        } else {
            SendMessageA(top, WM_CLOSE, 0, 0);
        }
    });
}
