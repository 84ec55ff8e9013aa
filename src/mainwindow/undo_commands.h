// Undo and redo from the Edit menu and their keys: each step shown where
// it happened, and the menu naming what would be undone or redone.
#pragma once

void undoLastStep();
void redoNextStep();
// The Edit menu's items as the history says: greyed, or naming their steps.
void showUndoState();
