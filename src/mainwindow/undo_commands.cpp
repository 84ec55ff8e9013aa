#include "mainwindow/undo_commands.h"

#include <algorithm>
#include <string>

#include "../res/resource.h"
#include "document/core/document_history.h"
#include "mainwindow/category_tabs.h"
#include "mainwindow/entry_list.h"
#include "mainwindow/main_window.h"

namespace {

// "&Undo Delete entries\tCtrl+Z", or greyed "&Undo\tCtrl+Z" with nothing
// to undo.
void showMenuItem(int id, const char *verb, const std::string &step, const char *keys)
{
    const std::string text = std::string(verb) + (step.empty() ? "" : " " + step) + "\t" + keys;
    const UINT state = step.empty() ? MF_GRAYED : MF_ENABLED;
    ModifyMenuA(GetMenu(MainWindow), id, MF_BYCOMMAND | MF_STRING | state, id, text.c_str());
}

// The tab of the changed category or entries, those entries alone selected.
void showChange(const ChangedPlace &place)
{
    if (place.categoriesChanged) rebuildCategoryTabs();
    showCategoryTab(place.category >= 0 ? tabOfCategory(place.category)
                                        : std::max(selectedTabIndex(), 0));
    selectEntriesAlone(place.entries);
}

} // namespace

void undoLastStep()
{
    if (canUndo()) showChange(undoStep());
}

void redoNextStep()
{
    if (canRedo()) showChange(redoStep());
}

void showUndoState()
{
    if (!MainWindow) return;
    showMenuItem(IDM_UNDO, "&Undo", undoStepName(), "Ctrl+Z");
    showMenuItem(IDM_REDO, "&Redo", redoStepName(), "Ctrl+Y");
}
