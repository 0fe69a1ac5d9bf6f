#pragma once

#include "StoreTree.h"

#include <QList>

// The host application's own settings: a view of the store whose paths are
// relative to "Corvalis\system\applications\quovira" ("appearance\font", ...).
class AppSettings : public StoreTree
{
public:
    static constexpr const char *ApplicationPath = "Corvalis\\system\\applications\\quovira";

    AppSettings(); // on the default store
    explicit AppSettings(const QString &storeFile);

    // The colour interface's initialisation: takes the system palette the
    // colour defaults come from (done on first use when not called).
    void Init();
    // A window colour 0x00BBGGRR: the integer stored at
    // "appearance\colors\" + name, or, when none is stored, the colour of the
    // system palette that plays that part ("dialog_background": the window
    // background).
    quint32 ColorByName(const QString &name) const;

private:
    void takePalette() const;

    // Colours 0x00BBGGRR of the palette taken by Init, by colour role.
    mutable QList<quint32> m_paletteColors;
};
