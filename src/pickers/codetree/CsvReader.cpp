#include "CsvReader.h"

#include "platform/Err.h"

#include <QStringDecoder>

namespace {

[[noreturn]] void fail(int line, const QString &message)
{
    throw Err(Err::ImportFailure, QStringLiteral("line %1: %2").arg(line).arg(message));
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes); // decoding happens on conversion
    return !decoder.hasError();
}

QString decodeUtf8(const QByteArray &data)
{
    QStringDecoder decoder(QStringDecoder::Utf8); // drops a leading byte-order mark
    const QString text = decoder.decode(data);
    if (!decoder.hasError())
        return text;
    const QList<QByteArray> lines = data.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!isValidUtf8(lines.at(i)))
            fail(int(i) + 1, QStringLiteral("the text is not UTF-8; save the file as UTF-8"));
    }
    fail(int(lines.size()), QStringLiteral("the text is not UTF-8; save the file as UTF-8"));
}

// Splits the text into records field by field, keeping track of the line
// each record starts on.
class Parser
{
public:
    explicit Parser(QString text) : m_text(std::move(text)) {}

    QList<CsvReader::Record> parse()
    {
        for (m_pos = 0; m_pos < m_text.size(); ++m_pos) {
            const QChar c = m_text.at(m_pos);
            if (m_inQuotes)
                quotedChar(c);
            else if (c == QLatin1Char(','))
                endField();
            else if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
                endLine(c);
            else if (c == QLatin1Char('"'))
                openQuote();
            else if (m_quoted && !c.isSpace())
                fail(m_line, QStringLiteral("text after the closing quote of a field"));
            else if (!m_quoted)
                m_field += c;
        }
        if (m_inQuotes)
            fail(m_quoteLine, QStringLiteral("a quoted field is never closed"));
        endRecord();
        return m_records;
    }

private:
    // True for a line break; a CR LF pair is taken as one.
    bool takeLineBreak(QChar c)
    {
        if (c == QLatin1Char('\r') && m_pos + 1 < m_text.size() &&
            m_text.at(m_pos + 1) == QLatin1Char('\n'))
            ++m_pos;
        return c == QLatin1Char('\r') || c == QLatin1Char('\n');
    }

    void quotedChar(QChar c)
    {
        if (c == QLatin1Char('"')) {
            if (m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == QLatin1Char('"')) {
                m_field += c;
                ++m_pos;
            } else {
                m_inQuotes = false;
            }
        } else if (takeLineBreak(c)) {
            m_field += QLatin1Char('\n');
            ++m_line;
        } else {
            m_field += c;
        }
    }

    void openQuote()
    {
        // Blanks before the quote are layout, not content.
        if (m_quoted || !m_field.trimmed().isEmpty())
            fail(m_line, QStringLiteral("a quote inside an unquoted field; quote the whole field "
                                        "and double the quotes inside it"));
        m_field.clear();
        m_inQuotes = true;
        m_quoted = true;
        m_quoteLine = m_line;
    }

    void endField()
    {
        m_fields << m_field;
        m_field.clear();
        m_quoted = false;
    }

    void endLine(QChar c)
    {
        takeLineBreak(c);
        endRecord();
        ++m_line;
        m_recordLine = m_line;
    }

    void endRecord()
    {
        const bool blank = m_fields.isEmpty() && !m_quoted && m_field.trimmed().isEmpty();
        if (!blank) {
            endField();
            m_records.append({m_recordLine, m_fields});
        }
        m_fields.clear();
        m_field.clear();
        m_quoted = false;
    }

    QString m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_recordLine = 1;
    int m_quoteLine = 1;
    bool m_inQuotes = false;
    bool m_quoted = false; // the current field was quoted
    QString m_field;
    QStringList m_fields;
    QList<CsvReader::Record> m_records;
};

} // namespace

QList<CsvReader::Record> CsvReader::read(const QByteArray &data)
{
    return Parser(decodeUtf8(data)).parse();
}
