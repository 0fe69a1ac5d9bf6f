#pragma once

#include <kivo/ComObject.h>

#include <kivo/TFData.h>

#include <map>
#include <string>

// A host record: a tag-to-value map behind TFData, owned by the test that
// creates it.
class FakeTFData final : public ComObject<TFData, &IID_TFData>
{
public:
    static FakeTFData *create();

    // An unknown tag reads as an empty string.
    HRESULT GetValue(BSTR tag, BSTR *value) override;
    // An empty tag is refused with E_INVALIDARG and stores nothing.
    HRESULT SetValue(BSTR tag, BSTR value) override;

    std::u16string value(const std::u16string &tag) const;
    void set(const std::u16string &tag, const std::u16string &value);
    const std::map<std::u16string, std::u16string> &values() const { return m_values; }

private:
    FakeTFData() = default;
    ~FakeTFData() override = default;

    std::map<std::u16string, std::u16string> m_values;
};
