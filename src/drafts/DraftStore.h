#pragma once

#include "drafts/Draft.h"

#include <QString>

#include <optional>

struct sqlite3;

// The drafts of teaching-file entries kept on this workstation: one SQLite
// file, readable and writable by its owner only, one draft per entry key and
// login. Every write is a transaction of its own, synced to the disk before
// it returns, so a draft written survives the process being killed or the
// machine losing power. A file that cannot be read as a drafts file is set
// aside under another name and a new one started: a damaged file must never
// stop an entry. Not thread-safe: one thread uses an instance.
class DraftStore
{
public:
    // Opens or creates file and its folder. Throws Err when no drafts file
    // can be had there at all.
    explicit DraftStore(const QString &file);
    ~DraftStore();
    DraftStore(const DraftStore &) = delete;
    DraftStore &operator=(const DraftStore &) = delete;

    // Where a damaged file found at open was moved; empty when none was.
    QString setAsideAs() const { return m_setAsideAs; }

    // Replaces the draft of the same key and login. Throws Err.
    void write(const Draft &draft);
    std::optional<Draft> read(const QString &key, const QString &login) const;
    void remove(const QString &key, const QString &login);
    // Drops every draft saved before cutoff, whoever's; answers how many.
    int dropSavedBefore(const QDateTime &cutoff);

    // The file beside the component's log, in the user's state folder:
    // KIVO_LOG_DIR, else $XDG_STATE_HOME/kivo, else ~/.local/state/kivo.
    static QString defaultFile();

private:
    // Opens the file as it is; answers false when it is no drafts file.
    bool open();
    void close();
    void setAside();
    void exec(const char *sql) const;

    QString m_file;
    QString m_setAsideAs;
    sqlite3 *m_db = nullptr;
};
