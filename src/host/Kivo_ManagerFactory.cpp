#include "Kivo_ManagerFactory.h"

#include "Kivo_Manager.h"

#include <kivo/ComRef.h>
#include <kivo/runtime.h>

#include <QString>

#include <new>

HRESULT Kivo_ManagerFactory::CreateInstance(IUnknown *outer, const IID &riid, void **ppvObject)
{
    constexpr const char *operation = "CreateInstance";
    if (!ppvObject)
        return refuse(E_POINTER, operation, "the object pointer is null");
    *ppvObject = nullptr;
    if (outer)
        return refuse(CLASS_E_NOAGGREGATION, operation, "Kivo_Manager cannot be aggregated");
    // Held across QueryInterface: a refused interface then deletes the
    // object when the reference goes.
    const ComRef<Kivo_Manager> manager(new (std::nothrow) Kivo_Manager());
    if (!manager)
        return refuse(E_OUTOFMEMORY, operation, "out of memory");
    const HRESULT result = manager->QueryInterface(riid, ppvObject);
    if (FAILED(result))
        return refuse(result, operation, "Kivo_Manager does not offer the interface asked for");
    return result;
}

HRESULT Kivo_ManagerFactory::LockServer(int32_t)
{
    return S_OK;
}

HRESULT Kivo_ManagerFactory::refuse(HRESULT result, const char *operation,
                                    const char *reason) noexcept
{
    try {
        const QString description =
            QStringLiteral("%1 failed: %2").arg(QLatin1String(operation), QLatin1String(reason));
        SetErrorDescription(result, reinterpret_cast<const OLECHAR *>(description.utf16()));
    } catch (...) {
        SetErrorDescription(E_OUTOFMEMORY, u"out of memory while reporting a failure");
    }
    return result;
}
