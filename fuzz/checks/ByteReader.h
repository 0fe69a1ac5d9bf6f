#pragma once

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>

// Takes what a generating check needs from fuzz input, front to back. An
// input that runs out yields zeros and empty texts, so every input generates
// something and a longer one only adds to it.
class ByteReader
{
public:
    ByteReader(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_at >= m_size; }
    uint8_t byte() { return atEnd() ? 0 : m_data[m_at++]; }
    qint32 int32()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | byte();
        return qint32(value);
    }
    // A text of up to 255 UTF-16 units, taken two bytes a unit: lone
    // surrogates and control characters included.
    QString utf16()
    {
        const int length = byte();
        QString text;
        for (int i = 0; i < length && !atEnd(); ++i)
            text += QChar(char16_t((byte() << 8) | byte()));
        return text;
    }
    // A text of up to 255 bytes, decoded as Latin-1: short, readable inputs.
    QString latin1()
    {
        const size_t length = std::min<size_t>(byte(), m_size - std::min(m_at, m_size));
        const QString text =
            QString::fromLatin1(reinterpret_cast<const char *>(m_data + m_at), qsizetype(length));
        m_at += length;
        return text;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};
