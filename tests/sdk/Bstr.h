#pragma once

#include <kivo/runtime.h>

#include <string>

// Owns one BSTR for a test, freeing it on scope exit, and converts to and
// from std::u16string (embedded NULs included).
class Bstr
{
public:
    Bstr() = default;
    explicit Bstr(const std::u16string &text);
    ~Bstr();
    Bstr(Bstr &&other) noexcept;
    Bstr &operator=(Bstr &&other) noexcept;
    Bstr(const Bstr &) = delete;
    Bstr &operator=(const Bstr &) = delete;

    BSTR get() const { return m_text; }
    // For out-parameters: frees what is held and hands over the slot.
    BSTR *out();
    std::u16string str() const { return toU16(m_text); }

    static std::u16string toU16(BSTR text);

private:
    BSTR m_text = nullptr;
};
