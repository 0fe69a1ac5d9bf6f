#pragma once

#include <kivo/ComObject.h>

// Creates Kivo_Manager objects for the host. Aggregation is not offered.
class Kivo_ManagerFactory final : public ComObject<IClassFactory, &IID_IClassFactory>
{
public:
    HRESULT CreateInstance(IUnknown *outer, const IID &riid, void **ppvObject) override;
    // The library is never unloaded while the host runs (Qt keeps pointers
    // into it), so there is nothing to lock; the call is accepted.
    HRESULT LockServer(int32_t lock) override;

    // A failing result of the factory's calls, its reason left for the
    // host's GetErrorDescription as every interface call leaves one.
    static HRESULT refuse(HRESULT result, const char *operation, const char *reason) noexcept;
};
