// The host's record of one teaching-file entry, read and written by tag name.
#pragma once

#include "runtime.h"

// {bf0dacf4-2bf5-450f-9beb-b60e103a96c4}
inline constexpr IID IID_TFData = {0xbf0dacf4, 0x2bf5, 0x450f,
                                   {0x9b, 0xeb, 0xb6, 0x0e, 0x10, 0x3a, 0x96, 0xc4}};

struct TFData : IUnknown
{
    // The stored value, or an empty string when the tag holds none.
    virtual HRESULT GetValue(BSTR tag, BSTR *value) = 0;
    virtual HRESULT SetValue(BSTR tag, BSTR value) = 0;

protected:
    ~TFData() = default;
};
