// The platform runtime shared by the host and the component
// (libkivo_platform.so): string buffers that cross the interfaces, the
// per-thread error description of the last failed call, and the process-wide
// platform values the host sets before it initialises the component.
#pragma once

#include "com.h"

typedef char16_t OLECHAR;
// A length-prefixed, zero-terminated UTF-16 buffer. The 32-bit byte length
// stands just before the first character. A null BSTR is the empty string.
typedef OLECHAR *BSTR;

#if defined(__GNUC__)
#define KIVO_EXPORT __attribute__((visibility("default")))
#else
#define KIVO_EXPORT
#endif

extern "C" {

// Ownership as in COM: whoever receives a BSTR as an out-parameter frees it
// with SysFreeString; in-parameters stay owned by the caller.
KIVO_EXPORT BSTR SysAllocString(const OLECHAR *text);
KIVO_EXPORT BSTR SysAllocStringLen(const OLECHAR *text, uint32_t length);
KIVO_EXPORT void SysFreeString(BSTR text);
KIVO_EXPORT uint32_t SysStringLen(BSTR text);

// A failing interface call leaves its description here for the calling
// thread; GetErrorDescription hands it over (S_OK) and clears it, or answers
// S_FALSE with a null string when there is none.
KIVO_EXPORT void SetErrorDescription(HRESULT hr, const OLECHAR *description);
KIVO_EXPORT HRESULT GetErrorDescription(BSTR *description);

// Process-wide platform values ("CurrUser", "CorvalisRoot", "CurrMachine",
// "ConfigStoreFile"). A null or empty value removes the entry. The getter
// answers a new BSTR (null when the value is not set).
KIVO_EXPORT HRESULT SetPlatformValue(const OLECHAR *name, const OLECHAR *value);
KIVO_EXPORT HRESULT GetPlatformValue(const OLECHAR *name, BSTR *value);
}
