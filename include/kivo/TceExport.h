#pragma once

// Teaching-file export to a teaching-file server: a submitted record becomes
// a Key Object Selection manifest "For Teaching File Export" that references
// the study's images and a Basic Text SR "Additional Teaching File
// Information" with the record's text. A static library (kivo_export) any
// host links; unlike the component's interfaces in this folder it speaks Qt,
// since it is compiled into the host rather than reached across the ABI.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kivo::tce {

struct Instance
{
    QString sopClassUid;
    QString sopInstanceUid;
};

// What the workstation knows of the study the teaching file is about.
struct Study
{
    QString patientName; // DICOM form, "FAMILY^GIVEN"
    QString patientId;
    QString patientBirthDate; // yyyyMMdd or empty
    QString patientSex;       // M, F, O or empty
    QString studyInstanceUid;
    QString studyId;
    QString studyDate; // yyyyMMdd
    QString studyTime; // hhmmss
    QString accessionNumber;
    QString studyDescription;
    QString seriesInstanceUid;
    QList<Instance> instances;
};

// Which record tag feeds which item of the information document. A site that
// renamed its fields points an item at its own tag; an empty tag leaves the
// item out.
struct Mapping
{
    // The items by their names in the store.
    static const QStringList &itemNames();
    // The tags of the shipped layout.
    static Mapping defaults();

    QMap<QString, QString> tags; // item name -> record tag
    // The coding scheme of angiography codes; empty sends them as text.
    QString angioCodingScheme;
};

// The meaning of a code of a code tree: item is "anatomy", "pathology" or
// "angiography"; empty when the tree does not know the code.
using CodeMeaning = std::function<QString(const QString &item, const QString &code)>;

struct Entry
{
    QMap<QString, QString> values; // the record, tags in upper case
    Study study;
    Mapping mapping;
    CodeMeaning codeMeaning;
    // Where new UIDs are rooted; empty roots them under 2.25 (UUID-derived).
    QString uidRoot;
};

struct WrittenFiles
{
    QString manifest;
    QString information;

    QStringList all() const { return {manifest, information}; }
};

// Writes both documents as DICOM files into folder (created when missing).
// Throws std::runtime_error naming what went wrong.
WrittenFiles writeEntry(const Entry &entry, const QString &folder);

// A new UID under root (empty: 2.25 and a random UUID). Throws
// std::runtime_error for a root that is not a UID prefix.
QString newUid(const QString &root = QString());

// A DICOM receiver, written AET@HOST:PORT.
struct Destination
{
    QString calledAeTitle;
    QString host;
    quint16 port = 0;
    QString callingAeTitle = QStringLiteral("KIVO");

    static std::optional<Destination> parse(const QString &text);
    QString toString() const;
};

// Sends the files with C-STORE over one association that proposes each
// file's SOP class. Throws std::runtime_error unless every file was stored.
void sendFiles(const QStringList &files, const Destination &destination, int timeoutSeconds = 30);

} // namespace kivo::tce
