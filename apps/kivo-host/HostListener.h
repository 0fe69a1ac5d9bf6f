#pragma once

#include <kivo/ComObject.h>
#include <kivo/ComRef.h>
#include <kivo/UIListener.h>

#include <functional>

// The workstation's listener: passes the component's calls on to the
// functions it was made with.
class HostListener final : public ComObject<UIListener, &IID_UIListener>
{
public:
    using SubmitHandler = std::function<void(TFData *)>;
    using ClosedHandler = std::function<void()>;

    static ComRef<HostListener> create(SubmitHandler onSubmit, ClosedHandler onFormClosed);

    HRESULT OnFormClosed() override;
    HRESULT OnSubmit(TFData *data) override;

private:
    HostListener(SubmitHandler onSubmit, ClosedHandler onFormClosed);

    SubmitHandler m_onSubmit;
    ClosedHandler m_onFormClosed;
};
