#pragma once

#include <utility>

// One counted reference to a host object: AddRef when taken, Release when
// replaced or dropped, so a host object we hold cannot vanish under us.
template <typename Interface> class ComRef
{
public:
    ComRef() = default;
    explicit ComRef(Interface *object) : m_object(object)
    {
        if (m_object)
            m_object->AddRef();
    }
    ~ComRef() { reset(); }
    ComRef(const ComRef &other) : ComRef(other.m_object) {}
    ComRef &operator=(const ComRef &other)
    {
        ComRef copy(other);
        std::swap(m_object, copy.m_object);
        return *this;
    }

    void reset()
    {
        if (Interface *object = std::exchange(m_object, nullptr))
            object->Release();
    }

    Interface *get() const { return m_object; }
    Interface *operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    Interface *m_object = nullptr;
};
