#pragma once

#include <QString>

class QObject;

// The data a form control carries besides its own properties: the tag under
// which its value travels in the host record, and for a drop-down the name of
// the value table that feeds its list. Both are "" until set.
namespace ControlTag {

QString tag(const QObject *control);
void setTag(QObject *control, const QString &tag);

QString tableName(const QObject *control);
void setTableName(QObject *control, const QString &table);

} // namespace ControlTag
