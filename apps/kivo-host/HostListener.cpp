#include "HostListener.h"

#include <QString>

#include <exception>

ComRef<HostListener> HostListener::create(SubmitHandler onSubmit, ClosedHandler onFormClosed)
{
    return ComRef<HostListener>(new HostListener(std::move(onSubmit), std::move(onFormClosed)));
}

HostListener::HostListener(SubmitHandler onSubmit, ClosedHandler onFormClosed)
    : m_onSubmit(std::move(onSubmit)), m_onFormClosed(std::move(onFormClosed))
{
}

namespace {

// Our exceptions must not travel into the component's stack frames.
template <typename Work> HRESULT guarded(Work &&work) noexcept
{
    try {
        work();
        return S_OK;
    } catch (const std::exception &err) {
        const QString text = QString::fromLocal8Bit(err.what());
        SetErrorDescription(E_FAIL, reinterpret_cast<const OLECHAR *>(text.utf16()));
    } catch (...) {
        SetErrorDescription(E_FAIL, u"unknown error in the workstation");
    }
    return E_FAIL;
}

} // namespace

HRESULT HostListener::OnFormClosed()
{
    return guarded([this] { m_onFormClosed(); });
}

HRESULT HostListener::OnSubmit(TFData *data)
{
    return guarded([this, data] { m_onSubmit(data); });
}
