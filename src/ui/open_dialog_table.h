#pragma once
// The auxiliary dialogs that are open, so that the main window can close them all on exit and when
// the mouse goes away. Ten places; a dialog enters itself when it has been initialised and leaves
// when it is destroyed, the entries after it moving up one place.

#include <QWidget>

#include <array>

namespace vexmo {

inline constexpr int kOpenDialogCount = 10;

extern std::array<QWidget*, kOpenDialogCount> OpenDialogTable;

// Enters `dialog` in the first empty place; false when all ten are taken.
bool EnterOpenDialog(QWidget* dialog);
// Removes `dialog` when listed: the places after it move forward and the last becomes empty.
void RemoveOpenDialog(QWidget* dialog);
// Asks every listed dialog to close.
void CloseOpenDialogs();
// Empties every place (at start).
void ClearOpenDialogTable();

} // namespace vexmo
