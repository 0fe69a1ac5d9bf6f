// The interface the component implements for its host. Slot order is part of
// the contract: hosts call through the vtable.
#pragma once

#include "TFData.h"
#include "UIListener.h"

// {a60fafd2-aa53-4761-ab00-cb865c1bfd4a}
inline constexpr IID IID_TF_IUI = {0xa60fafd2, 0xaa53, 0x4761,
                                   {0xab, 0x00, 0xcb, 0x86, 0x5c, 0x1b, 0xfd, 0x4a}};

// {654d6e41-c8f7-42d2-a8bb-4d8c113dda6e}: the one creatable class, Kivo_Manager.
inline constexpr CLSID CLSID_Kivo_Manager = {0x654d6e41, 0xc8f7, 0x42d2,
                                             {0xa8, 0xbb, 0x4d, 0x8c, 0x11, 0x3d, 0xda, 0x6e}};

struct TF_IUI : IUnknown
{
    virtual HRESULT Init() = 0;                                    // 1
    virtual HRESULT put_Visible(LONG visible) = 0;                 // 2: 1 shows, else hides
    virtual HRESULT get_Visible(LONG *visible) = 0;                // 3
    virtual HRESULT put_UIListener(UIListener *listener) = 0;      // 4
    virtual HRESULT Show(TFData *data) = 0;                        // 5
    virtual HRESULT UpdateData(TFData *data) = 0;                  // 6: data may be null
    virtual HRESULT UnInitialize() = 0;                            // 7
    virtual HRESULT PositionWindow(LONG position) = 0;             // 8
    virtual HRESULT Parent(LONG ownerWindow) = 0;                  // 9
    virtual HRESULT ViewOnly(LONG viewOnly) = 0;                   // 10: 1 = read-only entry
    virtual HRESULT get_HWND(LONG *window) = 0;                    // 11
    virtual HRESULT CloseSession() = 0;                            // 12
    virtual HRESULT HandleBeforeDone(LONG skipQuestion, TFData **data) = 0; // 13
    virtual HRESULT Minimize() = 0;                                // 14
    virtual HRESULT Restore() = 0;                                 // 15
    virtual HRESULT SubmitCompleted(LONG status) = 0;              // 16

protected:
    ~TF_IUI() = default;
};

// The factory entry point of the component library, looked up by name.
extern "C" typedef HRESULT (*DllGetClassObjectFn)(const CLSID &clsid, const IID &riid, void **ppv);
#define KIVO_FACTORY_SYMBOL "DllGetClassObject"
