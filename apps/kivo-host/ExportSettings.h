#pragma once

#include <kivo/TceExport.h>

#include <QString>

#include <optional>

class ConfigTree;
struct HostOptions;

// Where the workstation exports submitted teaching files and how: the
// command line's --export-dir and --export-to, else the store's keys below
// the teaching-file branch's "export" (directory, destination, calling_ae,
// uid_root, angio_coding_scheme, items\<item> = record tag).
struct ExportSettings
{
    QString folder;
    std::optional<kivo::tce::Destination> destination;
    // Exports waiting to be sent, one folder each.
    QString outbox;
    QString uidRoot;
    kivo::tce::Mapping mapping;
    // What was wrong with the stored settings, for the user.
    QString problem;

    bool enabled() const { return !folder.isEmpty() || destination.has_value(); }

    static ExportSettings read(const ConfigTree &store, const HostOptions &options);
};
