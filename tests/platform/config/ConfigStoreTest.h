// What the store tests share: a store file or PostgreSQL schema of their
// own and the error a call throws.
#pragma once

#include "PgTestStore.h"
#include "platform/Err.h"

#include <QTemporaryDir>

#include <functional>

// A store file in a folder that is removed with the test.
struct TempStoreFile
{
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("store.db"));
};

// The number of the Err the call throws, or 0 when it throws none.
inline int errorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Err &e) {
        return e.number();
    }
    return 0;
}
