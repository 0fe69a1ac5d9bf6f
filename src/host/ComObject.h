#pragma once

#include <kivo/com.h>

#include <atomic>

// Reference counting and QueryInterface for an object that implements one
// interface of the host SDK. It starts with no reference: whoever creates it
// takes the first one through QueryInterface, and the last Release deletes
// it. Uses the SDK alone, so a host can build its own objects on it too.
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

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject &) = delete;
    ComObject &operator=(const ComObject &) = delete;

private:
    std::atomic<ULONG> m_refCount{0};
};
