#pragma once

#include <kivo/ComObject.h>
#include <kivo/ComRef.h>
#include <kivo/TFData.h>

#include <QMap>
#include <QString>

// The teaching-file record of one study as the component sees it: values by
// tag. Tags are matched without regard to case and kept in upper case.
class StudyRecord final : public ComObject<TFData, &IID_TFData>
{
public:
    static ComRef<StudyRecord> create(qint64 studyId, const QMap<QString, QString> &values);

    HRESULT GetValue(BSTR tag, BSTR *value) override;
    // An empty tag is refused with E_INVALIDARG and stores nothing.
    HRESULT SetValue(BSTR tag, BSTR value) override;

    qint64 studyId() const { return m_studyId; }
    const QMap<QString, QString> &values() const { return m_values; }

private:
    StudyRecord(qint64 studyId, const QMap<QString, QString> &values);

    qint64 m_studyId;
    QMap<QString, QString> m_values;
};
