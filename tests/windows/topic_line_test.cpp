#include "main_window_fixture.h"

#include "../res/resource.h"

using TopicLineTest = MainWindowFixture;

namespace {
const char Caption[] = "Set topic text";
} // namespace

// The unchanged topic too is taken as a change, so closing offers to save.
TEST_F(TopicLineTest, TopicTextFollowsTheEntryTextRule)
{
    struct Case {
        std::string text;
        bool refused;
    };
    const Case cases[] = {
        {"Tom & Jerry", true}, {"<b>Anna</b>", true}, {"age > 90", true},
        {"Anna \"Nan\" Berg\r\nborn 1901\r\nin Leeds", false}, {"", false}, {"Before", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        showDocument("Before", {makeEntry("e", "C")});
        BiographyDocument.modified = false;
        HWND topicDialog = NULL;
        GuiScript script;
        script.onDialog(Caption, [&](HWND dialog) {
            topicDialog = dialog;
            SetDlgItemTextA(dialog, IDC_TOPIC_TEXT, c.text.c_str());
            clickButton(dialog, IDC_TOPIC_OK);
        });
        if (c.refused) script.press("Error", IDOK).press(Caption, IDC_TOPIC_CANCEL);
        command(IDM_SET_TOPIC);
        EXPECT_TRUE(script.finished()) << script.problems();
        const std::string topic = c.refused ? "Before" : c.text;
        EXPECT_EQ(BiographyDocument.topic, topic);
        EXPECT_EQ(windowText(TopicLine), topic);
        EXPECT_EQ(BiographyDocument.modified, !c.refused);
        ASSERT_EQ(script.seen().size(), c.refused ? 2u : 1u);
        if (c.refused) {
            expectBox(script.seen()[1], "Error", InvalidTextMessage, MB_ICONEXCLAMATION, MB_OK);
            EXPECT_EQ(script.seen()[1].owner, topicDialog);
            EXPECT_FALSE(script.seen()[1].ownerEnabled);
        }
    }
}

TEST_F(TopicLineTest, RightClickOffersOnlySetTopicWhichOpensTheDialog)
{
    showDocument("Life of Anna", {makeEntry("e", "C")});
    std::vector<std::string> texts;
    std::vector<UINT> ids;
    GuiScript script;
    script.onMenu([&](HMENU menu) {
        texts = menuItemTexts(menu);
        ids = menuItemIds(menu);
    });
    PostMessageA(TopicLine, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 10));
    pumpFor(300);
    EXPECT_EQ(texts, std::vector<std::string>{"Set topic"});
    EXPECT_EQ(ids, std::vector<UINT>{IDM_SET_TOPIC});

    std::string shown;
    RECT client = {}, box = {}, cancel = {};
    script.onDialog(Caption, [&](HWND dialog) {
        shown = windowText(GetDlgItem(dialog, IDC_TOPIC_TEXT));
        GetClientRect(dialog, &client);
        box = childRect(GetDlgItem(dialog, IDC_TOPIC_TEXT));
        cancel = childRect(GetDlgItem(dialog, IDC_TOPIC_CANCEL));
        clickButton(dialog, IDC_TOPIC_CANCEL);
    });
    SendMessageA(TopicLine, WM_COMMAND, IDM_SET_TOPIC, 0); // what the menu item sends
    pumpMessages();
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(shown, "Life of Anna");
    EXPECT_EQ(box.bottom, client.bottom - 35);
    const RECT cancelPlace = {90, 130, 170, 160};
    EXPECT_TRUE(EqualRect(&cancel, &cancelPlace));
    EXPECT_FALSE(BiographyDocument.modified);
}

// Longer than an edit box takes by default, and still open to typing.
TEST_F(TopicLineTest, ALongTopicSurvivesOkAndCanBeTypedInto)
{
    std::string topic;
    for (int line = 0; topic.size() < 40000; ++line)
        topic += "line " + std::to_string(line) + std::string(90, 'x') + "\r\n";
    showDocument(topic, {makeEntry("e", "C")});
    GuiScript script;
    script.onDialog(Caption, [&](HWND dialog) {
        HWND box = GetDlgItem(dialog, IDC_TOPIC_TEXT);
        SendMessageA(box, EM_SETSEL, topic.size(), topic.size());
        SendMessageA(box, WM_CHAR, 'z', 0);
        clickButton(dialog, IDC_TOPIC_OK);
    });
    command(IDM_SET_TOPIC);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_EQ(BiographyDocument.topic, topic + "z");
}
