#include "form/RecordAccess.h"

#include "platform/BstrText.h"
#include "platform/Err.h"

#include <kivo/TFData.h>

#include <memory>

namespace RecordAccess {

namespace {

struct BstrFree
{
    void operator()(OLECHAR *text) const { SysFreeString(text); }
};
using OwnedBstr = std::unique_ptr<OLECHAR, BstrFree>;

OwnedBstr allocate(const QString &text)
{
    OwnedBstr owned(
        SysAllocStringLen(reinterpret_cast<const OLECHAR *>(text.utf16()), uint32_t(text.size())));
    if (!owned)
        throw Err(Err::InvalidArgument, QStringLiteral("Out of memory for a record value"));
    return owned;
}

void check(HRESULT hr, const char *call, const QString &tag)
{
    if (FAILED(hr)) {
        throw Err(hr,
                  QStringLiteral("The record refused %1 of tag %2").arg(QLatin1String(call), tag));
    }
}

} // namespace

QString value(TFData *record, const QString &tag)
{
    const OwnedBstr name = allocate(tag);
    BSTR raw = nullptr;
    const HRESULT hr = record->GetValue(name.get(), &raw);
    const OwnedBstr result(raw);
    check(hr, "GetValue", tag);
    return fromBstr(result.get());
}

QString optionalValue(TFData *record, const QString &tag)
{
    try {
        return value(record, tag);
    } catch (const Err &) {
        return QString();
    }
}

void setValue(TFData *record, const QString &tag, const QString &value)
{
    const OwnedBstr name = allocate(tag);
    const OwnedBstr text = allocate(value);
    check(record->SetValue(name.get(), text.get()), "SetValue", tag);
}

} // namespace RecordAccess
