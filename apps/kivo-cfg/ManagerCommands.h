#pragma once

#include <QString>
#include <QTextStream>

// The kivo-cfg commands that answer as the teaching-file component would:
// who works at the workstation and whether they may edit the layout, and
// which layout the form would read. Both read the store named by storeFile
// ("" for the default store) and never create one; problems throw Err.
namespace ManagerCommands {

// A user's displayed name, group and edit permission: of namedLogin, or of
// the current user (the platform value "CurrUser") when namedLogin is "".
void rights(const QString &storeFile, const QString &namedLogin, QTextStream &out);
// The layout the form would read, its size and its field sets.
void layout(const QString &storeFile, QTextStream &out);

} // namespace ManagerCommands
