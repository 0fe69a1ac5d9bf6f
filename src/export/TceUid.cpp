// New UIDs for exported documents.
#include <kivo/TceExport.h>

#include <dcmtk/config/osconfig.h>

#include <dcmtk/dcmdata/dcuid.h>

#include <QRegularExpression>
#include <QUuid>

#include <stdexcept>

namespace kivo::tce {

namespace {

// DCMTK appends a host, process, time and counter part of up to about 40
// digits to a root; a longer root would be cut off and could repeat.
constexpr int LongestRoot = 24;

// 2.25 followed by the UUID as one decimal number needs no registered root.
QString uuidUid()
{
    const QByteArray bytes = QUuid::createUuid().toRfc4122();
    unsigned __int128 number = 0;
    for (const char byte : bytes)
        number = (number << 8) | static_cast<unsigned char>(byte);
    QString digits;
    do {
        digits.prepend(QChar(u'0' + static_cast<int>(number % 10)));
        number /= 10;
    } while (number != 0);
    return QStringLiteral("2.25.") + digits;
}

} // namespace

QString newUid(const QString &root)
{
    if (root.isEmpty())
        return uuidUid();
    static const QRegularExpression uidPrefix(
        QStringLiteral("^(0|[1-9][0-9]*)(\\.(0|[1-9][0-9]*))*$"));
    if (root.size() > LongestRoot || !uidPrefix.match(root).hasMatch())
        throw std::runtime_error("the UID root \"" + root.toStdString() +
                                 "\" is not a UID prefix of at most 24 characters");
    char uid[100];
    dcmGenerateUniqueIdentifier(uid, root.toLatin1().constData());
    return QString::fromLatin1(uid);
}

} // namespace kivo::tce
