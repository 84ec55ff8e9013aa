// A Memorion process of its own, started as Explorer starts it, whose
// windows are read and worked from here, across processes.
#pragma once

#include <windows.h>

#include <string>

class OtherMemorion {
public:
    // The command line is the quoted program followed by `arguments`.
    static OtherMemorion started(const std::string &arguments);

    explicit OtherMemorion(HANDLE process) : process_(process) {}
    // Ends the process as a crash would, if it still runs.
    ~OtherMemorion();
    OtherMemorion(OtherMemorion &&other) : process_(other.process_) { other.process_ = NULL; }

    bool running() const { return process_ != NULL; }
    // Its visible window of this class (and caption, when one is given),
    // once it is shown; NULL after `ms` without.
    HWND waitForWindow(const char *className, const std::string &caption = "", int ms = 15000) const;
    // The main window's caption once it is `caption`, or as it was after `ms`.
    std::string waitForCaption(const std::string &caption, int ms = 15000) const;
    int listedRows() const;
    // Closes the program as the close box does, and says whether it ended.
    bool close() const;

private:
    HANDLE process_;
};
