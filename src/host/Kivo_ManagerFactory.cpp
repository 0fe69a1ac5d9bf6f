#include "Kivo_ManagerFactory.h"

#include "Kivo_Manager.h"

#include <new>

HRESULT Kivo_ManagerFactory::CreateInstance(IUnknown *outer, const IID &riid, void **ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    auto *manager = new (std::nothrow) Kivo_Manager();
    if (!manager)
        return E_OUTOFMEMORY;
    // Holding a reference across QueryInterface: a refused interface then
    // deletes the object on the Release below.
    manager->AddRef();
    const HRESULT result = manager->QueryInterface(riid, ppvObject);
    manager->Release();
    return result;
}

HRESULT Kivo_ManagerFactory::LockServer(int32_t)
{
    return S_OK;
}
