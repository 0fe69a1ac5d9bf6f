#pragma once

#include "platform/config/ConfigDatabase.h"

// A short account of what a store holds: its file, the form layouts, the
// value tables, the code trees and the users.
class StoreSummary
{
public:
    static QString describe(const ConfigDatabase &database);
};
