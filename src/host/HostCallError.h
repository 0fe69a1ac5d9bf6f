#pragma once

#include "platform/Err.h"

#include <kivo/com.h>

// A host call the component refuses before doing anything: a call out of
// order or a missing pointer. Carries the result the host receives, where
// every other failure reaches it as E_FAIL.
class HostCallError : public Err
{
public:
    static constexpr int Number = 1401;

    HostCallError(HRESULT result, const QString &description)
        : Err(Number, description), m_result(result)
    {
    }

    HRESULT result() const { return m_result; }

private:
    HRESULT m_result;
};
