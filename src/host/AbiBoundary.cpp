#include "AbiBoundary.h"

#include "HostCallError.h"
#include "platform/BstrText.h"

#include "common/QV_VBLogger.h"

#include <kivo/runtime.h>

#include <QString>

#include <new>

namespace {

constexpr int HostObjectFailed = 1402;

struct Failure
{
    HRESULT result;
    QString description;
};

Failure describe(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const HostCallError &err) {
        return {err.result(), err.description()};
    } catch (const Err &err) {
        return {E_FAIL, QStringLiteral("%1 (error %2)").arg(err.description()).arg(err.number())};
    } catch (const std::bad_alloc &) {
        return {E_OUTOFMEMORY, QStringLiteral("out of memory")};
    } catch (const std::exception &err) {
        return {E_FAIL, QString::fromLocal8Bit(err.what())};
    } catch (...) {
        return {E_FAIL, QStringLiteral("unknown error")};
    }
}

} // namespace

HRESULT AbiBoundary::failure(const char *operation, std::exception_ptr error) noexcept
{
    try {
        const Failure found = describe(error);
        const QString description =
            QStringLiteral("%1 failed: %2").arg(QLatin1String(operation), found.description);
        SetErrorDescription(found.result, reinterpret_cast<const OLECHAR *>(description.utf16()));
        try {
            QV_VBLogger::WriteLog(description, QStringLiteral("Kivo_Manager"));
        } catch (...) {
            // Before Init, or with the logging library gone, the host still
            // has the description.
        }
        return found.result;
    } catch (...) {
        SetErrorDescription(E_OUTOFMEMORY, u"out of memory while reporting a failure");
        return E_OUTOFMEMORY;
    }
}

void AbiBoundary::checkHostResult(HRESULT result, const char *call)
{
    if (SUCCEEDED(result))
        return;
    QString description = QStringLiteral("the host's %1 failed with 0x%2")
                              .arg(QLatin1String(call))
                              .arg(static_cast<quint32>(result), 8, 16, QLatin1Char('0'));
    BSTR hostDescription = nullptr;
    if (GetErrorDescription(&hostDescription) == S_OK) {
        const QString text = fromBstr(hostDescription);
        if (!text.isEmpty())
            description += QStringLiteral(": ") + text;
    }
    SysFreeString(hostDescription);
    throw Err(HostObjectFailed, description);
}
