#pragma once

#include <QStringList>

// Child names of a key, in store order.
class KeyNameList
{
public:
    KeyNameList() = default;
    explicit KeyNameList(QStringList names) : m_names(std::move(names)) {}

    int Count() const { return int(m_names.size()); }
    // "" for an index out of range.
    QString Item(int index) const { return m_names.value(index); }
    const QStringList &names() const { return m_names; }

private:
    QStringList m_names;
};
