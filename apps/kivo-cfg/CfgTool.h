#pragma once

#include <QCommandLineParser>
#include <QTextStream>

#include <memory>

class ConfigDatabase;

// The kivo-cfg command line: global options, one command and its arguments.
// Returns the process exit code: 0 done, 1 the store refused or the input was
// bad (the error's description on stderr), 2 the command line was wrong.
class CfgTool
{
public:
    CfgTool();
    int run(const QStringList &arguments);

private:
    struct Command;
    static const QList<Command> &commands();
    static QString commandList();

    int runCommand(const Command &command, const QStringList &arguments);
    std::unique_ptr<ConfigDatabase> openStore(bool mayCreate) const;

    void init(const QStringList &args);
    void seed(const QStringList &args);
    void list(const QStringList &args);
    void get(const QStringList &args);
    void set(const QStringList &args);
    void remove(const QStringList &args);
    void exportTree(const QStringList &args);
    void importTree(const QStringList &args);
    void loadCodes(const QStringList &args);
    void copy(const QStringList &args);
    void summary(const QStringList &args);
    void rights(const QStringList &args);
    void layout(const QStringList &args);

    void reportSeeding(const ConfigDatabase &database, bool created, bool seeded);

    QTextStream m_out;
    QTextStream m_err;
    QString m_storeFile;
    QString m_copyFrom;
    QString m_copyTo;
    bool m_intValue = false;
    bool m_force = false;
    bool m_namedUser = false;
};
