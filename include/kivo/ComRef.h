// One counted reference to an object of the host SDK, for the component and
// a host alike. Header-only and free of the standard library, like
// ComObject.h, so a host built with another compiler or standard library can
// use it.
#pragma once

// AddRef when a reference is taken, Release when it is replaced or dropped,
// so an object we hold cannot vanish under us.
template <typename Interface> class ComRef
{
public:
    ComRef() = default;
    explicit ComRef(Interface *object) : m_object(object)
    {
        if (m_object)
            m_object->AddRef();
    }
    ComRef(const ComRef &other) : ComRef(other.m_object) {}
    ComRef(ComRef &&other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    ~ComRef() { reset(); }

    // By value: the copy or the move is made before anything is released, so
    // assigning a reference to itself keeps the object alive.
    ComRef &operator=(ComRef other) noexcept
    {
        Interface *const previous = m_object;
        m_object = other.m_object;
        other.m_object = previous; // released when other goes
        return *this;
    }

    void reset()
    {
        Interface *const object = m_object;
        m_object = nullptr;
        if (object)
            object->Release();
    }

    // The place for an out-parameter that hands over a reference of its own
    // (QueryInterface, a class factory, HandleBeforeDone): what was held is
    // dropped first, and the reference written there is taken over as it is.
    Interface **put()
    {
        reset();
        return &m_object;
    }

    Interface *get() const { return m_object; }
    Interface *operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    Interface *m_object = nullptr;
};
