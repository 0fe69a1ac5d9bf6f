#include "FakeTFData.h"

#include "Bstr.h"

FakeTFData *FakeTFData::create()
{
    // The test that creates a double holds its first reference.
    auto *created = new FakeTFData();
    created->AddRef();
    return created;
}

HRESULT FakeTFData::GetValue(BSTR tag, BSTR *value)
{
    if (!value)
        return E_POINTER;
    const std::u16string text = this->value(Bstr::toU16(tag));
    *value = SysAllocStringLen(text.data(), static_cast<uint32_t>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

HRESULT FakeTFData::SetValue(BSTR tag, BSTR value)
{
    if (SysStringLen(tag) == 0)
        return E_INVALIDARG;
    set(Bstr::toU16(tag), Bstr::toU16(value));
    return S_OK;
}

std::u16string FakeTFData::value(const std::u16string &tag) const
{
    const auto found = m_values.find(tag);
    return found == m_values.end() ? std::u16string() : found->second;
}

void FakeTFData::set(const std::u16string &tag, const std::u16string &value)
{
    m_values[tag] = value;
}
