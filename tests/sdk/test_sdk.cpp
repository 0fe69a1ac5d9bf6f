// The host SDK's runtime and the host doubles every end-to-end test relies on.
#include "Bstr.h"
#include "FakeTFData.h"
#include "RecordingUIListener.h"

#include <kivo/runtime.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

// Guards against a wrong length prefix, lost characters after an embedded
// NUL, a missing terminator, and crashes on null strings.
TEST(SdkStrings, OwnershipAndLength)
{
    const OLECHAR plain[] = u"Findings: \u00e9\u4e2d";
    BSTR copy = SysAllocString(plain);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, plain);
    EXPECT_EQ(SysStringLen(copy), std::char_traits<char16_t>::length(plain));
    EXPECT_EQ(std::u16string(copy), plain);
    uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char *>(copy) - sizeof prefix, sizeof prefix);
    EXPECT_EQ(prefix, SysStringLen(copy) * sizeof(OLECHAR));
    SysFreeString(copy);

    const std::u16string withNul(u"a\0b", 3);
    Bstr embedded(withNul);
    EXPECT_EQ(SysStringLen(embedded.get()), 3u);
    EXPECT_EQ(embedded.str(), withNul);
    EXPECT_EQ(embedded.get()[3], u'\0');

    // A null source with a length gives that many NULs, as in COM.
    BSTR zeros = SysAllocStringLen(nullptr, 2);
    ASSERT_NE(zeros, nullptr);
    EXPECT_EQ(Bstr::toU16(zeros), std::u16string(2, u'\0'));
    SysFreeString(zeros);

    EXPECT_NE(Bstr(u"").get(), nullptr);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(Bstr::toU16(nullptr), u"");
    SysFreeString(nullptr);

    // A length whose byte count overflows the prefix is refused.
    EXPECT_EQ(SysAllocStringLen(u"x", UINT32_MAX / 2), nullptr);
}

// Guards against one thread's failure description leaking into another's
// and against a description being handed out twice.
TEST(SdkErrors, DescriptionIsPerThreadAndTakenOnce)
{
    SetErrorDescription(E_FAIL, u"store is locked");

    Bstr seenElsewhere;
    HRESULT otherResult = S_OK;
    std::thread other([&] { otherResult = GetErrorDescription(seenElsewhere.out()); });
    other.join();
    EXPECT_EQ(otherResult, S_FALSE);
    EXPECT_EQ(seenElsewhere.get(), nullptr);

    Bstr description;
    EXPECT_EQ(GetErrorDescription(description.out()), S_OK);
    EXPECT_EQ(description.str(), u"store is locked");

    EXPECT_EQ(GetErrorDescription(description.out()), S_FALSE);
    EXPECT_EQ(description.get(), nullptr);
    EXPECT_EQ(GetErrorDescription(nullptr), E_POINTER);
}

// Guards against values that cannot be replaced or removed, and against a
// stale out-value when the name is unknown.
TEST(SdkPlatformValues, SetReplaceRemove)
{
    // The value under the name, or "<none>" when S_FALSE left a null.
    const auto get = [](const char16_t *name) {
        Bstr value;
        const HRESULT result = GetPlatformValue(name, value.out());
        return result == S_FALSE && !value.get() ? std::u16string(u"<none>") : value.str();
    };
    EXPECT_EQ(get(u"CurrUser"), u"<none>");
    ASSERT_EQ(SetPlatformValue(u"CurrUser", u"radiologist"), S_OK);
    EXPECT_EQ(get(u"CurrUser"), u"radiologist");
    ASSERT_EQ(SetPlatformValue(u"CurrUser", u"fellow"), S_OK);
    EXPECT_EQ(get(u"CurrUser"), u"fellow");
    EXPECT_EQ(get(u"curruser"), u"<none>");
    for (const char16_t *removing : {u"", static_cast<const char16_t *>(nullptr)}) {
        ASSERT_EQ(SetPlatformValue(u"CurrUser", u"fellow"), S_OK);
        ASSERT_EQ(SetPlatformValue(u"CurrUser", removing), S_OK);
        EXPECT_EQ(get(u"CurrUser"), u"<none>");
    }

    EXPECT_EQ(SetPlatformValue(nullptr, u"x"), E_INVALIDARG);
    EXPECT_EQ(SetPlatformValue(u"", u"x"), E_INVALIDARG);
    EXPECT_EQ(GetPlatformValue(u"CurrUser", nullptr), E_POINTER);
}

// Guards against a double that leaks or frees early, hands out an interface
// it does not have, or leaves garbage in the out-pointer on refusal.
TEST(SdkDoubles, ReferenceCountingAndQueryInterface)
{
    FakeTFData *data = FakeTFData::create();
    EXPECT_EQ(data->refCount(), 1u);

    void *asUnknown = nullptr;
    void *asData = nullptr;
    ASSERT_EQ(data->QueryInterface(IID_IUnknown, &asUnknown), S_OK);
    ASSERT_EQ(data->QueryInterface(IID_TFData, &asData), S_OK);
    EXPECT_EQ(asUnknown, static_cast<void *>(static_cast<TFData *>(data)));
    EXPECT_EQ(asData, asUnknown);
    EXPECT_EQ(data->refCount(), 3u);

    void *refused = &asData;
    EXPECT_EQ(data->QueryInterface(IID_UIListener, &refused), E_NOINTERFACE);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(data->QueryInterface(IID_TFData, nullptr), E_POINTER);
    EXPECT_EQ(data->refCount(), 3u);

    EXPECT_EQ(static_cast<TFData *>(asData)->Release(), 2u);
    EXPECT_EQ(static_cast<TFData *>(asUnknown)->Release(), 1u);
    EXPECT_EQ(data->Release(), 0u);

    RecordingUIListener *listener = RecordingUIListener::create();
    void *asListener = nullptr;
    ASSERT_EQ(listener->QueryInterface(IID_UIListener, &asListener), S_OK);
    EXPECT_EQ(listener->QueryInterface(IID_TFData, &refused), E_NOINTERFACE);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(listener->Release(), 1u);
    EXPECT_EQ(listener->Release(), 0u);
}

// Guards against the record double losing values, answering null for an
// unknown tag, or accepting a value under no tag.
TEST(SdkDoubles, RecordReadsAndWritesByTag)
{
    FakeTFData *data = FakeTFData::create();
    data->set(u"KESTO_TF_AFIP", u"Y");

    Bstr value;
    ASSERT_EQ(data->GetValue(Bstr(u"KESTO_TF_AFIP").get(), value.out()), S_OK);
    EXPECT_EQ(value.str(), u"Y");
    ASSERT_EQ(data->GetValue(Bstr(u"KESTO_TF_UNKNOWN").get(), value.out()), S_OK);
    EXPECT_NE(value.get(), nullptr);
    EXPECT_EQ(data->GetValue(Bstr(u"KESTO_TF_AFIP").get(), nullptr), E_POINTER);

    EXPECT_EQ(data->SetValue(Bstr(u"KESTO_TF_ANATOMY").get(), Bstr(u"5").get()), S_OK);
    EXPECT_EQ(data->SetValue(Bstr(u"KESTO_TF_AFIP").get(), nullptr), S_OK);
    EXPECT_EQ(data->SetValue(nullptr, Bstr(u"lost").get()), E_INVALIDARG);
    EXPECT_EQ(data->SetValue(Bstr(u"").get(), Bstr(u"lost").get()), E_INVALIDARG);
    const std::map<std::u16string, std::u16string> expected{{u"KESTO_TF_AFIP", u""},
                                                            {u"KESTO_TF_ANATOMY", u"5"}};
    EXPECT_EQ(data->values(), expected);
    data->Release();
}

// Guards against the listener dropping calls, losing the record's identity,
// or keeping a reference after clear().
TEST(SdkDoubles, ListenerRecordsCallsAndHoldsRecords)
{
    RecordingUIListener *listener = RecordingUIListener::create();
    FakeTFData *data = FakeTFData::create();
    TFData *seenByHandler = nullptr;
    listener->setSubmitHandler([&](TFData *submitted) {
        seenByHandler = submitted;
        return E_FAIL;
    });

    EXPECT_EQ(listener->OnFormClosed(), S_OK);
    EXPECT_EQ(listener->OnSubmit(data), E_FAIL);
    EXPECT_EQ(seenByHandler, data);
    EXPECT_EQ(listener->OnSubmit(nullptr), E_FAIL);

    EXPECT_EQ(listener->formClosedCount(), 1);
    EXPECT_EQ(listener->submitted(), (std::vector<TFData *>{data, nullptr}));
    EXPECT_EQ(data->refCount(), 2u);

    listener->clear();
    EXPECT_TRUE(listener->submitted().empty());
    EXPECT_EQ(listener->formClosedCount(), 0);
    EXPECT_EQ(data->refCount(), 1u);

    // Destroying the listener gives back what it still holds.
    listener->setSubmitHandler({});
    EXPECT_EQ(listener->OnSubmit(data), S_OK);
    EXPECT_EQ(data->refCount(), 2u);
    listener->Release();
    EXPECT_EQ(data->refCount(), 1u);
    data->Release();
}
