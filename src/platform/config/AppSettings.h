#pragma once

#include "StoreTree.h"

#include <functional>

// The host application's own settings: a view of the store whose paths are
// relative to "Corvalis\system\applications\quovira" ("appearance\font", ...).
class AppSettings : public StoreTree
{
public:
    static constexpr const char *ApplicationPath = "Corvalis\\system\\applications\\quovira";

    // A window colour 0x00BBGGRR by name, for the colours the store does not hold.
    using ColorDefaults = std::function<quint32(const QString &name)>;
    // Takes the colour defaults as the system has them now.
    using ColorDefaultsSource = ColorDefaults (*)();
    // The defaults are the system palette's, which the store cannot see: it
    // links QtCore only. The UI side installs their source (PaletteColors,
    // when QV_Resource loads the dialog colours). Until one is installed a
    // colour the store does not hold is 0, no colour.
    static void SetColorDefaultsSource(ColorDefaultsSource source);

    AppSettings(); // on the default store
    explicit AppSettings(const QString &storeFile);

    // The colour interface's initialisation: takes the colour defaults from
    // the installed source (done on first use when not called).
    void Init();
    // A window colour 0x00BBGGRR: the integer stored at
    // "appearance\colors\" + name, or, when none is stored, the default for
    // that name ("dialog_background": the window background).
    quint32 ColorByName(const QString &name) const;

private:
    void takeColorDefaults() const;

    mutable ColorDefaults m_colorDefaults;
};
