#include "main_window_fixture.h"

#include <shlobj.h>

#include "../res/resource.h"
#include "personality/folder_browser.h"
#include "personality/folder_creation.h"

namespace {

const char Caption[] = "Create personality folder";
const char Failure[] =
    "Failed to create personality folder. Invalid folder name or folder may already exist.";
const std::vector<std::string> AllInOrder = {"AUDIO", "IMAGE", "OTHER", "TEXT", "VIDEO",
                                             "BIOGRAPHY XML", "LOGS"};

std::string browserAnswer; // empty: the user cancels
std::vector<std::string> browserCalls, createdFolders;
HWND dialog, browserOwner;
bool mainWindowEnabledWhileBrowsing;

bool answerBrowser(HWND owner, const char *prompt, std::string &folder)
{
    browserOwner = owner;
    mainWindowEnabledWhileBrowsing = IsWindowEnabled(MainWindow) != FALSE;
    browserCalls.push_back(prompt);
    folder = browserAnswer;
    return !browserAnswer.empty();
}

bool recordCreation(const char *path)
{
    createdFolders.push_back(path);
    return CreateDirectoryA(path, NULL) != FALSE;
}

void toggleBox(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Names the folder, clears the given boxes and presses Next.
void create(GuiScript &script, const std::string &name, std::vector<int> cleared = {})
{
    script.onDialog(Caption, [=](HWND d) {
        dialog = d;
        SetDlgItemTextA(d, IDC_PERSONALITY_NAME, name.c_str());
        for (int id : cleared) toggleBox(d, id);
        clickButton(d, IDC_PERSONALITY_NEXT);
    });
}

class PersonalityFolderTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        browseForFolder = answerBrowser;
        createFolder = recordCreation;
        browserCalls.clear();
        createdFolders.clear();
        parent = browserAnswer = makeTestFolder("personality");
    }

    void TearDown() override
    {
        browseForFolder = systemBrowser;
        createFolder = systemCreation;
        MainWindowFixture::TearDown();
    }

    std::string parent;
    const BrowseForFolderFunction systemBrowser = browseForFolder;
    const CreateFolderFunction systemCreation = createFolder;
};

} // namespace

TEST_F(PersonalityFolderTest, EveryOpeningShowsTheDefaultNameAndSevenCheckedBoxes)
{
    std::vector<std::string> texts;
    int checked = 0;
    GuiScript script;
    script.onDialog(Caption, [](HWND d) {
        for (int id = 67; id <= 73; ++id) toggleBox(d, id);
        SetDlgItemTextA(d, IDC_PERSONALITY_NAME, "someone");
        PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    script.onDialog(Caption, [&](HWND d) {
        texts.push_back(windowText(GetDlgItem(d, IDC_PERSONALITY_NAME)));
        for (int id = 67; id <= 73; ++id) {
            texts.push_back(windowText(GetDlgItem(d, id)));
            checked += IsDlgButtonChecked(d, id) == BST_CHECKED;
        }
        EXPECT_LT(childRect(GetDlgItem(d, IDC_PERSONALITY_LOGS)).top,
                  childRect(GetDlgItem(d, IDC_PERSONALITY_OTHER)).top);
        PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    command(IDM_PERSONALITY_FOLDER);
    command(IDM_PERSONALITY_FOLDER);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(texts, std::vector<std::string>({"PERSONALITY-X", "BIOGRAPHY XML", "IMAGE", "AUDIO",
                                               "VIDEO", "TEXT", "OTHER", "LOGS"}));
    EXPECT_EQ(checked, 7);
    EXPECT_TRUE(browserCalls.empty()) << "the close box creates nothing";
}

TEST_F(PersonalityFolderTest, EscAndNextWithoutANameLeaveTheDialogOpen)
{
    GuiScript script;
    script.onDialog(Caption, [](HWND d) {
        SetDlgItemTextA(d, IDC_PERSONALITY_NAME, "");
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        clickButton(d, IDC_PERSONALITY_NEXT);
    });
    script.press("Information", IDOK);
    script.onDialog(Caption, [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); });
    command(IDM_PERSONALITY_FOLDER);
    EXPECT_TRUE(script.finished()) << script.problems();
    ASSERT_EQ(script.seen().size(), 2u);
    expectBox(script.seen()[1], "Information", "No folder name specified.", MB_ICONERROR, MB_OK);
    EXPECT_TRUE(browserCalls.empty());
}

TEST_F(PersonalityFolderTest, CreatesTheCheckedSubfoldersInAFixedOrderAndExploresTheFolder)
{
    struct Case {
        std::vector<int> cleared;
        bool exists;
        std::vector<std::string> subfolders;
    };
    const Case cases[] = {
        {{}, false, AllInOrder},
        {{67, 69, 73}, false, {"IMAGE", "OTHER", "TEXT", "VIDEO"}},
        {{67, 68, 69, 70, 71, 72, 73}, false, {}},
        // An existing folder gets what it lacks, and no Explorer.
        {{}, true, AllInOrder},
    };
    for (const Case &c : cases) {
        const std::string folder = makeTestFolder("personality") + "\\Ada";
        if (c.exists) {
            CreateDirectoryA(folder.c_str(), NULL);
            CreateDirectoryA((folder + "\\IMAGE").c_str(), NULL);
            writeFileBytes(folder + "\\IMAGE\\face.jpg", "a face");
        }
        createdFolders.clear();
        recordedShellCalls().clear();
        GuiScript script;
        create(script, "Ada", c.cleared);
        if (c.exists) script.press("Information", IDOK);
        command(IDM_PERSONALITY_FOLDER);
        EXPECT_TRUE(script.finished()) << script.problems();
        std::vector<std::string> expected = {folder};
        for (const std::string &name : c.subfolders) expected.push_back(folder + "\\" + name);
        EXPECT_EQ(createdFolders, expected);
        for (const std::string &path : expected) EXPECT_TRUE(fileExists(path)) << path;
        EXPECT_EQ(browserOwner, dialog);
        EXPECT_FALSE(mainWindowEnabledWhileBrowsing) << "a second command could start";
        if (c.exists) {
            expectBox(script.seen().back(), "Information", Failure, MB_ICONERROR, MB_OK);
            EXPECT_EQ(readFileBytes(folder + "\\IMAGE\\face.jpg"), "a face");
            EXPECT_TRUE(recordedShellCalls().empty());
            continue;
        }
        EXPECT_EQ(script.seen().size(), 1u) << "no message";
        ASSERT_EQ(recordedShellCalls().size(), 1u);
        const ShellCall &call = recordedShellCalls()[0];
        EXPECT_EQ(std::vector<std::string>({call.verb, call.file}),
                  std::vector<std::string>({"explore", folder}));
        EXPECT_FALSE(call.hasParameters || call.hasFolder);
        EXPECT_EQ(call.showCommand, SW_SHOWNORMAL);
    }
    EXPECT_EQ(browserCalls.back(), "Select a folder to contain the personality database.");
}

TEST_F(PersonalityFolderTest, ANameTooLongOrLeavingTheParentIsRefusedAndCreatesNothing)
{
    // Long enough for the folder itself to fit but not its subfolders.
    const std::string justFits(240 - parent.size(), 'n');
    for (const std::string &name : {std::string(300, 'n'), justFits, std::string("..\\escaped")}) {
        GuiScript script;
        create(script, name);
        script.press("Information", IDOK);
        command(IDM_PERSONALITY_FOLDER);
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(script.seen().back().text, Failure) << name.size();
    }
    EXPECT_TRUE(createdFolders.empty());
    EXPECT_FALSE(fileExists(parent + "\\..\\escaped"));
    EXPECT_TRUE(recordedShellCalls().empty());
}

TEST_F(PersonalityFolderTest, TheSystemFolderBrowserChoosesTheParentOrCancels)
{
    browseForFolder = systemBrowser;
    for (bool cancel : {true, false}) {
        bool resizable = false;
        GuiScript script;
        create(script, "Grace");
        script.onDialog("Browse for Folder", [&](HWND d) {
            resizable = GetWindowLongA(d, GWL_STYLE) & WS_THICKFRAME;
            if (!cancel) SendMessageA(d, BFFM_SETSELECTIONA, TRUE, (LPARAM)parent.c_str());
            clickButton(d, cancel ? IDCANCEL : IDOK);
        });
        command(IDM_PERSONALITY_FOLDER);
        EXPECT_TRUE(script.finished()) << script.problems();
        EXPECT_EQ(script.seen().size(), 2u) << "no message";
        EXPECT_TRUE(resizable) << "the browser of the new style";
        EXPECT_EQ(fileExists(parent + "\\Grace\\LOGS"), !cancel);
        EXPECT_EQ(createdFolders.empty(), cancel);
    }
}
