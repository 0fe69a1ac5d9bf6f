#pragma once

#include <sys/resource.h>

// The CPU time the benchmark reports is this thread's, user and system
// together; the user part alone is what our code and SQLite cost, apart
// from the kernel's work for a sync.
inline double userCpuMicroseconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return double(usage.ru_utime.tv_sec) * 1e6 + double(usage.ru_utime.tv_usec);
}
