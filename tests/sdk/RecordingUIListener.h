#pragma once

#include <kivo/ComObject.h>

#include <kivo/UIListener.h>

#include <functional>
#include <vector>

// A host listener that records what the component tells it. Submitted
// records are kept with a reference each, released by clear() or on
// destruction, so a test can read them after the call.
class RecordingUIListener final : public ComObject<UIListener, &IID_UIListener>
{
public:
    // Runs inside OnSubmit, as a host answers a submit (SubmitCompleted);
    // its result is OnSubmit's.
    using SubmitHandler = std::function<HRESULT(TFData *)>;

    static RecordingUIListener *create();

    HRESULT OnFormClosed() override;
    HRESULT OnSubmit(TFData *data) override;

    void setSubmitHandler(SubmitHandler handler) { m_submitHandler = std::move(handler); }
    int formClosedCount() const { return m_formClosedCount; }
    // One entry per OnSubmit, null where the component passed none.
    const std::vector<TFData *> &submitted() const { return m_submitted; }
    void clear();

private:
    RecordingUIListener() = default;
    ~RecordingUIListener() override;

    int m_formClosedCount = 0;
    std::vector<TFData *> m_submitted;
    SubmitHandler m_submitHandler;
};
