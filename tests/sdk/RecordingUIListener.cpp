#include "RecordingUIListener.h"

RecordingUIListener *RecordingUIListener::create()
{
    // The test that creates a double holds its first reference.
    auto *created = new RecordingUIListener();
    created->AddRef();
    return created;
}

RecordingUIListener::~RecordingUIListener()
{
    clear();
}

HRESULT RecordingUIListener::OnFormClosed()
{
    ++m_formClosedCount;
    return S_OK;
}

HRESULT RecordingUIListener::OnSubmit(TFData *data)
{
    if (data)
        data->AddRef();
    m_submitted.push_back(data);
    return m_submitHandler ? m_submitHandler(data) : S_OK;
}

void RecordingUIListener::clear()
{
    for (TFData *data : m_submitted) {
        if (data)
            data->Release();
    }
    m_submitted.clear();
    m_formClosedCount = 0;
}
