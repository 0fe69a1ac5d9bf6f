// The library's only exported symbol: the host finds it by name with dlsym.
#include "Kivo_ManagerFactory.h"

#include <kivo/ComRef.h>
#include <kivo/TF_IUI.h>

#include <new>
#include <type_traits>

extern "C" __attribute__((visibility("default"))) HRESULT
DllGetClassObject(const CLSID &clsid, const IID &riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (clsid != CLSID_Kivo_Manager)
        return CLASS_E_CLASSNOTAVAILABLE;
    // Held across QueryInterface: a refused interface then deletes the
    // factory when the reference goes.
    const ComRef<Kivo_ManagerFactory> factory(new (std::nothrow) Kivo_ManagerFactory());
    if (!factory)
        return E_OUTOFMEMORY;
    return factory->QueryInterface(riid, ppv);
}

// The declaration the host uses must match this definition.
static_assert(std::is_same_v<decltype(&DllGetClassObject), DllGetClassObjectFn>);
