// The soak test's driver: long seeded random sequences of what a user can
// do, run against the real main window in this process, with the promises
// the program makes checked after every step.
//
// Every step runs from a message posted to the driver's own window, so a
// step that opens a modal dialog simply stays inside it; the next step runs
// from whatever modal loop is running then, once its window is shown.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "document/core/biography_document.h"

// Where the user is: the window whose commands are open to them.
enum class Place {
    Main, Menu, Editor, FieldDialog, TopicDialog, FilesDialog, NewCategoryDialog,
    RenameCategoryDialog, MoveDialog, NewFileDialog, AboutDialog, PersonalityDialog, FindDialog,
    MessageBox,
};

enum class Closes { No, Maybe, Yes };

// What a step may lead to: the windows it may open (by caption, or by a
// part of a message box's text; "menu" for a popup menu), whether the
// window it acts on closes, and what it does to the undo history if the
// document changes: makes the step named `step`, or undoes (`move` -1) or
// redoes (+1) one. A message box answered goes on with what asked it.
struct Outcome {
    std::vector<std::string> mayOpen;
    Closes closes = Closes::No;
    const char *step = nullptr;
    int move = 0;
};

class Soak;

// One thing a user can do. `possible` (none: always) says whether it can
// be done right now; `run` does it, acting on soak.target().
struct Action {
    const char *name;
    Place place;
    int weight;
    bool (*possible)(Soak &soak);
    void (*run)(Soak &soak);
    Outcome outcome;
};

// Every action of the soak, one row each (soak_actions.cpp).
const std::vector<Action> &soakActions();
// The file and folder dialogs answered by the soak's random choices.
void answerDialogsFor(Soak *soak);

// Decides a check made after a step: false while it cannot tell yet (a
// message box it waits for is still up); true when decided, with `failure`
// left empty when the check passed.
using StepCheck = std::function<bool(std::string &failure)>;

struct SoakSettings {
    unsigned seed = 1;
    long steps = 1000;
    bool trace = false;       // print every step
    std::string folder;       // scratch folder, emptied first
    bool nearCapacity = false; // the program starts with startFile() open
};

// The undo history as the soak expects it, from what each step did to the
// document: never read from the program's own.
struct ExpectedHistory {
    std::vector<std::string> steps; // names, oldest first
    int done = 0;                   // steps applied; the rest can be redone
    int savedAt = 0;                // `done` when last saved or opened; -1 out of reach
    bool whole = true;              // no step dropped since it started
    std::string startBytes;         // the writer's bytes when it started
    std::string savedBytes;         // and at `savedAt`
};

// What a start of the program may show: questions about journals a crash
// left, and what opening the start file may say.
const Outcome &startOutcome();

class Soak {
public:
    // `startProgram` makes a fresh main window the way the program starts.
    Soak(const SoakSettings &settings, std::function<void()> startProgram);
    ~Soak();
    Soak(const Soak &) = delete;
    Soak &operator=(const Soak &) = delete;

    // Runs the steps; returns with the main window at rest.
    void run();
    const std::string &failure() const { return failure_; }
    long stepsTaken() const { return step_; }

    // For the actions.
    int below(int n); // 0 .. n-1
    bool percent(int p);
    HWND target() const; // the window the step acts on
    Place place() const;
    // How often the program has been started, has crashed, and has
    // recovered a biography a crash left.
    int starts() const { return starts_; }
    int crashes() const { return crashCount_; }
    int recoveries() const { return recoveredCount_; }
    // Changes what the running step may lead to.
    void expectOutcome(const Outcome &outcome);
    void expectStep(const char *name) { expectedStep_ = name; }
    // Said by a check that saw a file opened or created: the history starts
    // afresh with the document as it is.
    void historyStarts() { historyStarts_ = true; }
    const ExpectedHistory &history() const { return history_; }
    // Adds a check decided after the running step.
    void afterStep(StepCheck check) { checks_.push_back(std::move(check)); }
    // The button that answered the latest message box.
    int lastAnswer() const { return lastAnswer_; }
    void noteAnswer(int button) { lastAnswer_ = button; }
    // Set by a step that closes the main window: the program then starts
    // again, as a user would start it.
    bool programMayEnd = false;
    // The control whose context menu the step opened.
    HWND menuOwner = NULL;
    const std::string &folder() const { return settings_.folder; }
    // A crash: the program's state dropped, nothing saved, its journal
    // kept; then the program starts again, as its user would start it.
    void crash();
    // Once the questions of a start or an open are answered: whether the
    // document is one a crash left, recovered. Then its history is
    // walked, from the changes' start to their end, and becomes the one
    // expected. "" or what is wrong.
    std::string checkRecovered(bool &recovered);
    // Whether a journal of the biography at `path` is in the recovery folder.
    static bool journalKeptFor(const std::string &path);
    // Where the soak saves biographies and keeps files to attach.
    std::string filesFolder() const { return settings_.folder + "\\files"; }
    std::string attachFolder() const { return settings_.folder + "\\attach"; }
    // The generated biography near the limits a near-capacity seed starts
    // with, named on the program's command line.
    bool nearCapacity() const { return settings_.nearCapacity; }
    std::string startFile() const { return filesFolder() + "\\capacity.xml"; }

private:
    struct Frame {
        HWND window;
        Place place;
        std::vector<std::string> mayOpen; // for the steps taken in it
    };
    static LRESULT CALLBACK driverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    void advance();
    bool settle();
    void verifyStep();
    void verifyState();
    void verifyDisk();
    void verifyHistory();
    void recordStep();
    std::string followUndoOrRedo();
    void openStartFile();
    void startExpectedHistory();
    void fail(const std::string &what);
    void takeStep();
    void closeTop();
    void post(std::function<void()> action);
    void restartProgram();
    void startAgain();
    void checkStart();
    std::string followRecovery(const ExpectedHistory &before, const std::string &left);
    std::string describeTop() const;
    std::string describeWindows() const;

    SoakSettings settings_;
    std::function<void()> startProgram_;
    std::mt19937 random_;
    HWND driver_ = NULL;
    UINT_PTR timer_ = 0;
    bool continuePosted_ = false;
    std::function<void()> queued_;
    bool actionQueued_ = false;
    bool inAdvance_ = false;
    bool swapping_ = false; // one main window gone, the next not yet there
    bool stopping_ = false;
    bool done_ = false;
    long step_ = 0;
    int starts_ = 1;
    int crashCount_ = 0;
    int recoveredCount_ = 0;
    std::string failure_;
    DWORD lastProgress_ = 0;

    std::vector<Frame> frames_;
    std::set<HWND> ended_; // dialogs seen before and not yet destroyed
    // The running step.
    const Action *action_ = nullptr;
    Outcome stepOutcome_;
    HWND stepTarget_ = NULL;
    std::string stepTargetName_;
    std::vector<std::string> inherited_;
    std::vector<StepCheck> checks_;
    int lastAnswer_ = 0;
    std::vector<std::string> trace_;

    // The history as expected, the document after each of its latest steps
    // (by `done`; the older ones dropped) and what a change of it now would be.
    ExpectedHistory history_;
    std::deque<std::unique_ptr<Biography>> states_;
    bool historyStarts_ = false;
    const char *expectedStep_ = nullptr;
    int expectedMove_ = 0;

    // Files of the scratch folder as last seen: size and time written.
    std::map<std::string, std::pair<ULONGLONG, ULONGLONG>> seenFiles_;
    // The document's file as last read.
    std::string diskPath_;
    std::pair<ULONGLONG, ULONGLONG> diskStamp_;
    std::unique_ptr<Biography> diskDocument_;

    // What each crash whose journal may be left behind had: its document's
    // path and writer's bytes, and the history expected then.
    struct Crash {
        std::string path, bytes;
        ExpectedHistory history;
    };
    std::vector<Crash> crashes_;
};
