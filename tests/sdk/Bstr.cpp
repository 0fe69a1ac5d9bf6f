#include "Bstr.h"

#include <utility>

Bstr::Bstr(const std::u16string &text)
    : m_text(SysAllocStringLen(text.data(), static_cast<uint32_t>(text.size())))
{
}

Bstr::~Bstr()
{
    SysFreeString(m_text);
}

Bstr::Bstr(Bstr &&other) noexcept : m_text(std::exchange(other.m_text, nullptr)) {}

Bstr &Bstr::operator=(Bstr &&other) noexcept
{
    if (this != &other) {
        SysFreeString(m_text);
        m_text = std::exchange(other.m_text, nullptr);
    }
    return *this;
}

BSTR *Bstr::out()
{
    SysFreeString(std::exchange(m_text, nullptr));
    return &m_text;
}

std::u16string Bstr::toU16(BSTR text)
{
    return text ? std::u16string(text, SysStringLen(text)) : std::u16string();
}
