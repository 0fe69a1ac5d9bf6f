#include "Kivo_ManagerFactory.h"

#include "Kivo_Manager.h"

#include <kivo/ComRef.h>

#include <new>

HRESULT Kivo_ManagerFactory::CreateInstance(IUnknown *outer, const IID &riid, void **ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    // Held across QueryInterface: a refused interface then deletes the
    // object when the reference goes.
    const ComRef<Kivo_Manager> manager(new (std::nothrow) Kivo_Manager());
    if (!manager)
        return E_OUTOFMEMORY;
    return manager->QueryInterface(riid, ppvObject);
}

HRESULT Kivo_ManagerFactory::LockServer(int32_t)
{
    return S_OK;
}
