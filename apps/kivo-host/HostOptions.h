#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

// What kivo-host was asked to do.
struct HostOptions
{
    QString storeFile;   // empty: the platform's default store
    QString recordsFile; // the workstation's own database
    QString login;
    QString screenshotFile;
    bool screenshotInDesignMode = false;
    bool demoSubmit = false;
    QString demoText;
    bool demoType = false;
    bool demoDesign = false;
    QPoint demoOffset; // pixels
    // Where submitted teaching files are exported; empty: as the store says.
    QString exportDir;
    QString exportTo; // AET@HOST:PORT

    // A run that does its work without a person and exits.
    bool automated() const
    {
        return !screenshotFile.isEmpty() || demoSubmit || demoType || demoDesign;
    }

    // Parses the application's arguments; --help, --version and a wrong
    // argument end the process as QCommandLineParser does.
    static HostOptions parse(const QStringList &arguments);
};
