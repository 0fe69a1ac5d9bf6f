#include "FormLookup.h"

#include <QAction>
#include <QLabel>
#include <QWidget>

QLabel *FormLookup::fieldLabel(const QWidget *form, const QString &caption)
{
    const auto labels = form->findChildren<QLabel *>(QStringLiteral("m_aLabels"));
    for (QLabel *label : labels) {
        if (label->text() == caption)
            return label;
    }
    return nullptr;
}

QWidget *FormLookup::fieldTextBox(const QWidget *form, const QString &caption)
{
    const QLabel *label = fieldLabel(form, caption);
    if (!label)
        return nullptr;
    // A field set's controls share the set's index.
    const auto boxes = form->findChildren<QWidget *>(QStringLiteral("m_aText"));
    for (QWidget *box : boxes) {
        if (box->property("index") == label->property("index"))
            return box;
    }
    return nullptr;
}

QAction *FormLookup::tool(const QWidget *form, int id)
{
    const auto actions = form->findChildren<QAction *>();
    // The one on a band, where the user reaches it.
    for (QAction *action : actions) {
        if (action->property("toolId").toInt() == id && !action->associatedObjects().isEmpty())
            return action;
    }
    return nullptr;
}
