#pragma once
class TZelmMainForm;

// Builds every control of the main window with its caption, range, initial
// value, hint and place, and connects each to its handler.
void ConstruitControles(TZelmMainForm &f);
