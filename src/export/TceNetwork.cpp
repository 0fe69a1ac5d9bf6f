// Sending exported documents to a DICOM receiver with C-STORE.
#include <kivo/TceExport.h>

#include <dcmtk/config/osconfig.h>

#include <dcmtk/dcmnet/diutil.h>
#include <dcmtk/dcmnet/dstorscu.h>
#include <dcmtk/oflog/oflog.h>

#include <QFile>
#include <QRegularExpression>

#include <stdexcept>

namespace kivo::tce {

namespace {

// AE titles are at most 16 characters, without backslash or control codes.
constexpr int LongestAeTitle = 16;

// Counts the files the receiver answered with success or a warning (it
// stored them, perhaps coerced).
class CountingStorageScu : public DcmStorageSCU
{
public:
    size_t stored = 0;
    OFString firstFailure;

protected:
    void notifySOPInstanceSent(const TransferEntry &entry) override
    {
        const Uint16 status = entry.ResponseStatusCode;
        if (entry.RequestSent && (status == 0x0000 || (status & 0xF000) == 0xB000))
            ++stored;
        else if (firstFailure.empty())
            firstFailure = entry.SOPInstanceUID + " was refused with status " +
                           OFString(QString::number(status, 16).toLatin1().constData());
    }
};

void check(const OFCondition &condition, const std::string &what)
{
    if (condition.bad())
        throw std::runtime_error(what + ": " + condition.text());
}

} // namespace

std::optional<Destination> Destination::parse(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^([^@\\\\]{1,16})@([^:@\\s]+):(\\d{1,5})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    bool valid = false;
    const uint port = match.captured(3).toUInt(&valid);
    const QString title = match.captured(1).trimmed();
    if (!valid || port == 0 || port > 65535 || title.isEmpty() || title.size() > LongestAeTitle)
        return std::nullopt;
    Destination destination;
    destination.calledAeTitle = title;
    destination.host = match.captured(2);
    destination.port = static_cast<quint16>(port);
    return destination;
}

QString Destination::toString() const
{
    return QStringLiteral("%1@%2:%3").arg(calledAeTitle, host).arg(port);
}

void sendFiles(const QStringList &files, const Destination &destination, int timeoutSeconds)
{
    // The outcome is ours to report; DCMTK's progress lines would only
    // clutter the host's terminal.
    OFLog::configure(OFLogger::WARN_LOG_LEVEL);
    CountingStorageScu scu;
    scu.setAETitle(destination.callingAeTitle.toLatin1().constData());
    scu.setPeerAETitle(destination.calledAeTitle.toLatin1().constData());
    scu.setPeerHostName(destination.host.toLatin1().constData());
    scu.setPeerPort(destination.port);
    scu.setConnectionTimeout(timeoutSeconds);
    scu.setACSETimeout(static_cast<Uint32>(timeoutSeconds));
    scu.setDIMSETimeout(static_cast<Uint32>(timeoutSeconds));
    scu.setDIMSEBlockingMode(DIMSE_NONBLOCKING);
    for (const QString &file : files)
        check(
            scu.addDicomFile(OFFilename(QFile::encodeName(file).constData()), ERM_fileOnly, OFTrue),
            "cannot send " + file.toStdString());
    // One presentation context per SOP class of the files, so the receiver
    // accepts or refuses the manifest and the report each on its own.
    check(scu.addPresentationContexts(), "presentation contexts");
    const std::string peer = destination.toString().toStdString();
    check(scu.initNetwork(), "network");
    check(scu.negotiateAssociation(), "association with " + peer);
    const OFCondition sent = scu.sendSOPInstances();
    scu.releaseAssociation();
    check(sent, "sending to " + peer);
    if (scu.stored != static_cast<size_t>(files.size()))
        throw std::runtime_error(peer + " stored " + std::to_string(scu.stored) + " of " +
                                 std::to_string(files.size()) + " files" +
                                 (scu.firstFailure.empty()
                                      ? std::string()
                                      : ": " + std::string(scu.firstFailure.c_str())));
}

} // namespace kivo::tce
