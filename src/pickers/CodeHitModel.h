#pragma once

#include "codewalk/CodeHits.h"

#include <QAbstractListModel>

// The rows of a picker's hit list: each hit's code and description on one
// line, its path below. Rows are made only when the view shows them, so a
// search that finds thousands of codes costs no more to show than one that
// finds ten. No hit leaves one line saying so, which cannot be chosen.
class CodeHitModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setHits(CodeHits hits);
    const CodeHits &hits() const { return m_hits; }
    void setNoMatchText(const QString &text);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    CodeHits m_hits;
    QString m_noMatchText;
};
