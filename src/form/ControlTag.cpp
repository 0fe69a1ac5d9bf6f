#include "form/ControlTag.h"

#include <QObject>
#include <QVariant>

namespace ControlTag {

namespace {
const char *const TagProperty = "kivoTag";
const char *const TableProperty = "kivoTable";
} // namespace

QString tag(const QObject *control)
{
    return control->property(TagProperty).toString();
}

void setTag(QObject *control, const QString &tag)
{
    control->setProperty(TagProperty, tag);
}

QString tableName(const QObject *control)
{
    return control->property(TableProperty).toString();
}

void setTableName(QObject *control, const QString &table)
{
    control->setProperty(TableProperty, table);
}

} // namespace ControlTag
