// The host's callback object.
#pragma once

#include "TFData.h"

// {6ab91017-7413-4468-a003-880c4d48f50a}
inline constexpr IID IID_UIListener = {0x6ab91017, 0x7413, 0x4468,
                                       {0xa0, 0x03, 0x88, 0x0c, 0x4d, 0x48, 0xf5, 0x0a}};

struct UIListener : IUnknown
{
    // The user closed the window (close box or Close command).
    virtual HRESULT OnFormClosed() = 0;
    // The user submitted; the record already holds the form's values. Null
    // when nothing was loaded.
    virtual HRESULT OnSubmit(TFData *data) = 0;

protected:
    ~UIListener() = default;
};
