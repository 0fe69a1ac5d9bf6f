#pragma once

#include <kivo/com.h>

#include <atomic>

// Reference counting and QueryInterface for a double that implements one
// SDK interface. Created with one reference; the last Release deletes it.
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

    ULONG AddRef() override { return ++m_refCount; }

    ULONG Release() override
    {
        const ULONG remaining = --m_refCount;
        if (remaining == 0)
            delete this;
        return remaining;
    }

    ULONG refCount() const { return m_refCount; }

protected:
    virtual ~ComObject() = default;

private:
    std::atomic<ULONG> m_refCount{1};
};
