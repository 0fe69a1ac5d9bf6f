#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Completion of what the user types into a drop-down from its list: the
// first entry, in list order, that begins with the typed text, whatever the
// letter case. The typed letters stay as typed and the rest of the entry is
// added after them, selected, so typing on replaces it.
struct ComboCompletion
{
    QString text;       // the typed text followed by the rest of the entry
    int selectionStart; // where the added rest begins
    int selectionLength;

    // Nothing when no entry begins with typed or the entry adds nothing, and
    // for empty typed text (a field the user emptied stays empty).
    static std::optional<ComboCompletion> complete(const QString &typed,
                                                   const QStringList &entries);
};
