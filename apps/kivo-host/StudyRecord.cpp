#include "StudyRecord.h"

#include "platform/BstrText.h"

ComRef<StudyRecord> StudyRecord::create(qint64 studyId, const QMap<QString, QString> &values)
{
    return ComRef<StudyRecord>(new StudyRecord(studyId, values));
}

StudyRecord::StudyRecord(qint64 studyId, const QMap<QString, QString> &values) : m_studyId(studyId)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        m_values.insert(it.key().toUpper(), it.value());
}

HRESULT StudyRecord::GetValue(BSTR tag, BSTR *value)
{
    if (!value)
        return E_POINTER;
    const QString text = m_values.value(fromBstr(tag).toUpper());
    *value = SysAllocStringLen(reinterpret_cast<const OLECHAR *>(text.utf16()),
                               static_cast<uint32_t>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

HRESULT StudyRecord::SetValue(BSTR tag, BSTR value)
{
    const QString name = fromBstr(tag).toUpper();
    if (name.isEmpty())
        return E_INVALIDARG;
    m_values.insert(name, fromBstr(value));
    return S_OK;
}
