#pragma once

#include <QList>
#include <QString>

// What a toolbar holds, independent of any widget: the tools, each defined
// once by its id, and the bands that show them in order. A tool may sit in
// several bands; its state is shared by all of them.
struct ToolBarLayout
{
    struct Tool
    {
        qint32 id = 0;
        QString caption;
        QString name;
        QString key;     // shortcut in QKeySequence's portable text, "" for none
        QString icon;    // "std:<QStyle::StandardPixmap name>", an absolute file path, or ""
        QString toolTip; // "" lets the caption serve
        QString subBand; // name of a popup band this tool opens as a submenu, or ""
        bool visible = true;
        bool enabled = true;
    };

    enum class BandKind { Normal, Popup, Floating };

    struct Band
    {
        QString name;
        QString caption; // title of a floating band's window; the name when ""
        BandKind kind = BandKind::Normal;
        QList<qint32> toolIds;
    };

    QList<Tool> tools;
    QList<Band> bands;

    // The layout a toolbar has before any file is loaded: the form's own
    // commands 1-7 in one band "Band1", so the window is usable even when
    // the configured layout file cannot be read.
    static ToolBarLayout designedIn();
};
