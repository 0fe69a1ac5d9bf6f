// The library's only exported symbol: the host finds it by name with dlsym.
#include "Kivo_ManagerFactory.h"

#include <kivo/ComRef.h>
#include <kivo/TF_IUI.h>

#include <new>
#include <type_traits>

extern "C" __attribute__((visibility("default"))) HRESULT
DllGetClassObject(const CLSID &clsid, const IID &riid, void **ppv)
{
    constexpr const char *operation = "DllGetClassObject";
    if (!ppv)
        return Kivo_ManagerFactory::refuse(E_POINTER, operation, "the object pointer is null");
    *ppv = nullptr;
    if (clsid != CLSID_Kivo_Manager)
        return Kivo_ManagerFactory::refuse(CLASS_E_CLASSNOTAVAILABLE, operation,
                                           "the library makes only Kivo_Manager");
    // Held across QueryInterface: a refused interface then deletes the
    // factory when the reference goes.
    const ComRef<Kivo_ManagerFactory> factory(new (std::nothrow) Kivo_ManagerFactory());
    if (!factory)
        return Kivo_ManagerFactory::refuse(E_OUTOFMEMORY, operation, "out of memory");
    const HRESULT result = factory->QueryInterface(riid, ppv);
    if (FAILED(result))
        return Kivo_ManagerFactory::refuse(result, operation,
                                           "the class object offers only IClassFactory");
    return result;
}

// The declaration the host uses must match this definition.
static_assert(std::is_same_v<decltype(&DllGetClassObject), DllGetClassObjectFn>);
