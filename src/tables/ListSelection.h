#pragma once

#include <QListWidget>

// The selected row of a single-selection list, -1 when none is. The current
// row alone is not enough: Qt keeps one after removals without selecting it.
inline int selectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}
