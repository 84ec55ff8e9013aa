// Run from a folder of its own that holds planted copies of riched32.dll,
// riched20.dll and msftedit.dll, with Wine told to load a library file it
// finds rather than its built-in one, as Windows (which has none built in)
// always does.
#include "editor_steps.h"

#include "entryedit/entry_editor.h"
#include "mainwindow/system_libraries.h"

using LibrarySearch = MainWindowFixture;

namespace {

bool isPlanted(HMODULE library)
{
    return library && GetProcAddress(library, "plantedLibrary");
}

} // namespace

// Without it the others could not fail: a plain load does find the plant.
TEST_F(LibrarySearch, APlainLoadFindsThePlantedCopy)
{
    HMODULE library = LoadLibraryA("msftedit.dll");
    EXPECT_TRUE(isPlanted(library));
    FreeLibrary(library);
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
    searchSystemFolderOnly();
    HMODULE library = LoadLibraryA("msftedit.dll");
    EXPECT_NE(library, nullptr);
    EXPECT_FALSE(isPlanted(library));
}
