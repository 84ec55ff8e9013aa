// Run from a folder beside planted copies of riched32.dll, riched20.dll and
// msftedit.dll (see CMakeLists.txt).
#include "editor_steps.h"

#include "entryedit/entry_editor.h"
#include "mainwindow/system_libraries.h"

using LibrarySearch = MainWindowFixture;

static bool isPlanted(HMODULE library)
{
    return library && GetProcAddress(library, "plantedLibrary");
}

TEST_F(LibrarySearch, TheEntryEditorTakesItsRichTextFromTheSystemFolder)
{
    showDocument("", {makeEntry("a", "C")});
    HWND text = NULL;
    GuiScript script;
    inEditor(script, [&](HWND) { text = EntryRichText; });
    doubleClickRow(0);
    EXPECT_TRUE(script.finished()) << script.problems();
    EXPECT_NE(text, nullptr);
    EXPECT_FALSE(isPlanted(GetModuleHandleA("riched32.dll")));
    EXPECT_FALSE(isPlanted(GetModuleHandleA("riched20.dll")));
}

// Last: it changes the search of the whole process for good.
TEST_F(LibrarySearch, AfterStartEveryLoadByNameSearchesTheSystemFolderOnly)
{
    HMODULE before = LoadLibraryA("msftedit.dll");
    EXPECT_TRUE(isPlanted(before)) << "the plant is found where nothing stops it";
    FreeLibrary(before);
    searchSystemFolderOnly();
    HMODULE after = LoadLibraryA("msftedit.dll");
    EXPECT_NE(after, nullptr);
    EXPECT_FALSE(isPlanted(after));
}
