#pragma once

#include "ToolBarLayout.h"

#include <QByteArray>
#include <QString>

// The toolbar layout file ("kivo_bar"), JSON of this form:
//
//   { "format": "kivo_bar", "version": 1,
//     "tools": [ { "id": 1, "caption": "Submit", "name": "mnuSubmit",
//                  "key": "Ctrl+Return", "icon": "std:SP_DialogApplyButton",
//                  "toolTip": "...", "visible": true, "enabled": true,
//                  "subBand": "<popup band opened as a submenu>" }, ... ],
//     "bands": [ { "name": "Band1", "kind": "normal" | "popup" | "floating",
//                  "caption": "...", "tools": [ 1, 2, 3 ] }, ... ] }
//
// Only "id" is required of a tool and "name" of a band. An icon is either a
// standard icon of the widget style ("std:" + a QStyle::StandardPixmap name)
// or a file path, relative to the layout file's folder.
//
// Anything else is refused with Err::ImportFailure naming the file and the
// line and column of a syntax error, or the place in the document
// ("bands[2].tools[0]") of a wrong value, so a hand-edited file can be fixed.
namespace ToolBarLayoutFile {

ToolBarLayout read(const QString &fileName);

// The content of fileName, already read; icon files are looked up relative to
// fileName's folder.
ToolBarLayout parse(const QByteArray &json, const QString &fileName);

} // namespace ToolBarLayoutFile
