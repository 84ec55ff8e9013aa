// A save made to fail at each of its steps in turn, as a full disk or
// another program holding the file would make it fail.
#include "main_window_fixture.h"

#include "../res/resource.h"
#include "document/save_steps.h"

using SaveFaultsTest = MainWindowFixture;

namespace {

enum class Step { TemporaryName, Create, Write, Flush, Replace, Move };

struct Fault {
    const char *name;
    Step step;
    int call;           // which call of that step fails, counting from 1
    bool fileExists;    // whether there is a file to save over
    bool shortWrite;    // the write reports success but writes less
    bool halfReplaced;  // the replacement has moved the old file aside
};

// The one fault of the running case; the stand-ins carry no context.
const Fault *fault = nullptr;
int calls[6];

bool failsNow(Step step)
{
    return fault->step == step && ++calls[static_cast<int>(step)] == fault->call;
}

bool temporaryName(const std::string &target, TemporaryKind kind, std::string &name)
{
    if (failsNow(Step::TemporaryName)) return SetLastError(ERROR_DISK_FULL), false;
    return systemSaveSteps().makeTemporaryName(target, kind, name);
}

HANDLE create(const char *path, DWORD access, DWORD share, SECURITY_ATTRIBUTES *security,
              DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (failsNow(Step::Create)) return SetLastError(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    return systemSaveSteps().createFile(path, access, share, security, disposition, flags,
                                        templateFile);
}

BOOL write(HANDLE file, const void *bytes, DWORD size, DWORD *written, OVERLAPPED *overlapped)
{
    if (failsNow(Step::Write)) {
        if (!fault->shortWrite) return SetLastError(ERROR_DISK_FULL), FALSE;
        return systemSaveSteps().writeFile(file, bytes, size / 2, written, overlapped);
    }
    return systemSaveSteps().writeFile(file, bytes, size, written, overlapped);
}

BOOL flush(HANDLE file)
{
    if (failsNow(Step::Flush)) return SetLastError(ERROR_DISK_FULL), FALSE;
    return systemSaveSteps().flushFile(file);
}

BOOL replace(const char *replaced, const char *replacement, const char *backup, DWORD flags,
             void *exclude, void *reserved)
{
    if (!failsNow(Step::Replace))
        return systemSaveSteps().replaceFile(replaced, replacement, backup, flags, exclude, reserved);
    if (!fault->halfReplaced) return SetLastError(ERROR_SHARING_VIOLATION), FALSE;
    // The old file went to the backup name, the new one could not follow.
    MoveFileExA(replaced, backup, MOVEFILE_REPLACE_EXISTING);
    return SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2), FALSE;
}

BOOL move(const char *from, const char *to, DWORD flags)
{
    if (failsNow(Step::Move)) return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    return systemSaveSteps().moveFile(from, to, flags);
}

std::vector<std::string> filesIn(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

} // namespace

TEST_F(SaveFaultsTest, AFailureAtAnyStepLeavesTheFileAndTheChanges)
{
    const Fault faults[] = {
        {"temporary name", Step::TemporaryName, 1, true, false, false},
        {"creating the temporary file", Step::Create, 1, true, false, false},
        {"first write", Step::Write, 1, true, false, false},
        {"second write", Step::Write, 2, true, false, false},
        {"last write", Step::Write, 3, true, false, false},
        {"a write that stops short", Step::Write, 2, true, true, false},
        {"flush", Step::Flush, 1, true, false, false},
        {"backup name", Step::TemporaryName, 2, true, false, false},
        {"replace", Step::Replace, 1, true, false, false},
        {"replace after moving the old file aside", Step::Replace, 1, true, false, true},
        {"moving a new file into place", Step::Move, 1, false, false, false},
    };
    // Three megabyte writes' worth, in lines, like a long life story.
    std::string detail;
    while (detail.size() < 2500000) detail += "A line of a long life story, told at length.\r\n";
    Entry big = makeEntry("long", "C");
    big.detail = detail;
    showDocument("", {big});
    const std::string old = "the file as it was\r\n";

    for (const Fault &f : faults) {
        const std::string folder = makeTestFolder("save-fault");
        const std::string path = folder + "\\bio.xml";
        if (f.fileExists) writeFileBytes(path, old);
        BiographyDocument.filePath = path;
        BiographyDocument.modified = true;
        fault = &f;
        for (int &count : calls) count = 0;
        saveSteps = {temporaryName, create, write, flush, replace, move};
        GuiScript script;
        script.press("Error", IDOK);
        command(IDM_SAVE);
        saveSteps = systemSaveSteps();

        EXPECT_TRUE(script.finished()) << f.name << ": " << script.problems();
        EXPECT_EQ(script.seen().size(), 1u) << f.name;
        EXPECT_GE(calls[static_cast<int>(f.step)], f.call) << f.name << ": step not reached";
        EXPECT_TRUE(BiographyDocument.modified) << f.name;
        if (f.fileExists) {
            EXPECT_EQ(readFileBytes(path), old) << f.name;
            EXPECT_EQ(filesIn(folder), std::vector<std::string>{"bio.xml"}) << f.name;
        } else {
            EXPECT_TRUE(filesIn(folder).empty()) << f.name;
        }
    }
}
