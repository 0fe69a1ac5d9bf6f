// Reference counting and QueryInterface for an object that implements one
// interface of the host SDK, for the component's objects and a host's alike.
#pragma once

#include "com.h"

// It starts with no reference: whoever creates it takes the first one (through
// QueryInterface or AddRef), and the last Release deletes it. The count is
// atomic, as callers on other threads may hold references.
template <typename Interface, const IID *InterfaceId> class ComObject : public Interface
{
public:
    HRESULT QueryInterface(const IID &riid, void **ppvObject) override
    {
        if (!ppvObject)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != *InterfaceId) {
            *ppvObject = nullptr;
            return E_NOINTERFACE;
        }
        *ppvObject = static_cast<Interface *>(this);
        AddRef();
        return S_OK;
    }

    ULONG AddRef() override { return __atomic_add_fetch(&m_refCount, 1, __ATOMIC_ACQ_REL); }

    ULONG Release() override
    {
        const ULONG remaining = __atomic_sub_fetch(&m_refCount, 1, __ATOMIC_ACQ_REL);
        if (remaining == 0)
            delete this;
        return remaining;
    }

    ULONG refCount() const { return __atomic_load_n(&m_refCount, __ATOMIC_ACQUIRE); }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject &) = delete;
    ComObject &operator=(const ComObject &) = delete;

private:
    ULONG m_refCount = 0;
};
