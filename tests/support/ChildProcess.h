#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <functional>

// Starts body in a child process that never returns into the test framework
// (a throw exits 99).
inline pid_t spawn(const std::function<int()> &body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (const std::exception &e) {
            fprintf(stderr, "child failed: %s\n", e.what());
        }
        _exit(code);
    }
    return pid;
}

// The child's exit code, 128 + signal when it died.
inline int exitCode(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
