#pragma once

#include <kivo/com.h>

#include <exception>

// Where host calls enter the component. Nothing thrown inside may cross into
// the host, whose compiler and runtime may not even know C++ exceptions: every
// failure becomes a failing HRESULT, with its description left for the host's
// GetErrorDescription and in the log.
namespace AbiBoundary {

HRESULT failure(const char *operation, std::exception_ptr error) noexcept;

// The other direction: a failing result of a host object becomes Err, with
// the description the host left, if any.
void checkHostResult(HRESULT result, const char *call);

template <typename Work> HRESULT call(const char *operation, Work &&work) noexcept
{
    try {
        work();
        return S_OK;
    } catch (...) {
        return failure(operation, std::current_exception());
    }
}

} // namespace AbiBoundary
