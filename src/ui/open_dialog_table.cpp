#include "ui/open_dialog_table.h"

#include <QPointer>

#include <vector>

namespace vexmo {

std::array<QWidget*, kOpenDialogCount> OpenDialogTable{};

bool EnterOpenDialog(QWidget* dialog)
{
    if (!dialog)
        return false;
    for (auto& entry : OpenDialogTable) {
        if (!entry) {
            entry = dialog;
            return true;
        }
    }
    return false;
}

void RemoveOpenDialog(QWidget* dialog)
{
    if (!dialog)
        return;
    for (std::size_t i = 0; i < OpenDialogTable.size(); ++i) {
        if (OpenDialogTable[i] != dialog)
            continue;
        for (std::size_t j = i; j + 1 < OpenDialogTable.size(); ++j)
            OpenDialogTable[j] = OpenDialogTable[j + 1];
        OpenDialogTable.back() = nullptr;
        return;
    }
}

void CloseOpenDialogs()
{
    // Closing a dialog may end its modal run and destroy it, which changes the table.
    std::vector<QPointer<QWidget>> open;
    for (QWidget* entry : OpenDialogTable) {
        if (entry)
            open.emplace_back(entry);
    }
    for (const auto& dialog : open) {
        if (dialog)
            dialog->close();
    }
}

void ClearOpenDialogTable()
{
    OpenDialogTable.fill(nullptr);
}

} // namespace vexmo
