// The host SDK's runtime and reference holder. The host doubles are
// exercised by every end-to-end test and have no tests of their own.
#include "Bstr.h"
#include "FakeTFData.h"

#include <kivo/ComRef.h>
#include <kivo/runtime.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <utility>

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

// Guards against a reference counted twice or released twice: put() takes
// over the reference an out-parameter hands back without adding one, a move
// hands it on, a copy assigned to itself keeps the object, and each holder
// releases what it holds once.
TEST(SdkComRef, CountsEachReferenceOnce)
{
    FakeTFData *record = FakeTFData::create();
    {
        ComRef<TFData> held;
        ASSERT_EQ(record->QueryInterface(IID_TFData, reinterpret_cast<void **>(held.put())), S_OK);
        EXPECT_EQ(record->refCount(), 2u);
        ComRef<TFData> moved(std::move(held));
        EXPECT_FALSE(held);
        const ComRef<TFData> &same = moved;
        moved = same;
        EXPECT_EQ(record->refCount(), 2u);
        const ComRef<TFData> copy = moved;
        EXPECT_EQ(record->refCount(), 3u);
    }
    EXPECT_EQ(record->refCount(), 1u);
    record->Release();
}
