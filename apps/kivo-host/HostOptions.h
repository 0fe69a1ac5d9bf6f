#pragma once

#include <QString>
#include <QStringList>

// What kivo-host was asked to do.
struct HostOptions
{
    QString storeFile;   // empty: the platform's default store
    QString recordsFile; // the workstation's own database
    QString login;
    QString screenshotFile;
    bool demoSubmit = false;
    QString demoText;

    // Whether the arguments ask for a run without a display; decided before
    // the application object exists, since it picks the window system.
    static bool wantsOffscreen(int argc, char **argv);
    // Parses the application's arguments; --help, --version and a wrong
    // argument end the process as QCommandLineParser does.
    static HostOptions parse(const QStringList &arguments);
};
