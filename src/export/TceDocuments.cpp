// The two documents of a teaching-file export, built with DCMTK's dcmsr.
#include <kivo/TceExport.h>

#include <dcmtk/config/osconfig.h>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmsr/dsrdoc.h>

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace kivo::tce {

namespace {

// A coded concept: value, designator, meaning.
struct Concept
{
    const char *value;
    const char *scheme;
    const char *meaning;

    DSRCodedEntryValue coded() const { return DSRCodedEntryValue(value, scheme, meaning); }
};

const Concept ForTeachingFileExport{"TCE001", "IHERADTF", "For Teaching File Export"};
const Concept AdditionalInformation{"TCE006", "IHERADTF", "Additional Teaching File Information"};

// The free-text items of the information document, in the order they are
// sent, by their names in the store.
struct TextItem
{
    const char *name;
    Concept conceptName;
};

const TextItem TextItems[] = {
    {"history", {"121060", "DCM", "History"}},
    {"findings", {"121071", "DCM", "Findings"}},
    {"discussion", {"TCE106", "IHERADTF", "Discussion"}},
    {"differential_diagnosis", {"111023", "DCM", "Differential Diagnosis/Impression"}},
    {"diagnosis", {"TCE107", "IHERADTF", "Diagnosis"}},
    {"keywords", {"TCE105", "IHERADTF", "Keywords"}},
};
const Concept Author{"TCE101", "IHERADTF", "Author"};
const Concept Anatomy{"112005", "DCM", "Radiographic anatomy"};
const Concept Pathology{"111042", "DCM", "Pathology"};
// A code meaning is at most 64 characters long.
constexpr int CodeMeaningLength = 64;

OFString dicomText(const QString &text)
{
    return OFString(text.toUtf8().constData());
}

void check(const OFCondition &condition, const char *what)
{
    if (condition.bad())
        throw std::runtime_error(std::string(what) + ": " + condition.text());
}

// Adds a content item below the container (the first) or after the last one.
class ContainerFiller
{
public:
    explicit ContainerFiller(DSRDocumentTree &tree) : m_tree(tree) {}

    DSRContentItem &add(DSRTypes::E_ValueType type, const Concept *conceptName = nullptr)
    {
        const auto mode = m_empty ? DSRTypes::AM_belowCurrent : DSRTypes::AM_afterCurrent;
        if (m_tree.addContentItem(DSRTypes::RT_contains, type, mode) == 0)
            throw std::runtime_error("a content item cannot go into the document");
        m_empty = false;
        DSRContentItem &item = m_tree.getCurrentContentItem();
        if (conceptName)
            check(item.setConceptName(conceptName->coded()), conceptName->meaning);
        return item;
    }

private:
    DSRDocumentTree &m_tree;
    bool m_empty = true;
};

void startDocument(DSRDocument &document, DSRTypes::E_DocumentType type, const Study &study,
                   const Concept &title)
{
    check(document.createNewDocument(type), "new document");
    document.setSpecificCharacterSetType(DSRTypes::CS_UTF8);
    check(document.createNewSeriesInStudy(dicomText(study.studyInstanceUid)), "Study Instance UID");
    check(document.setPatientName(dicomText(study.patientName)), "Patient's Name");
    check(document.setPatientID(dicomText(study.patientId)), "Patient ID");
    check(document.setPatientBirthDate(dicomText(study.patientBirthDate)), "Patient's Birth Date");
    check(document.setPatientSex(dicomText(study.patientSex)), "Patient's Sex");
    check(document.setStudyID(dicomText(study.studyId)), "Study ID");
    check(document.setStudyDate(dicomText(study.studyDate)), "Study Date");
    check(document.setStudyTime(dicomText(study.studyTime)), "Study Time");
    check(document.setAccessionNumber(dicomText(study.accessionNumber)), "Accession Number");
    check(document.setStudyDescription(dicomText(study.studyDescription)), "Study Description");
    check(document.setManufacturer("kivo"), "Manufacturer");
    check(document.setSeriesNumber("900"), "Series Number");
    check(document.setInstanceNumber("1"), "Instance Number");
    DSRDocumentTree &tree = document.getTree();
    if (tree.addContentItem(DSRTypes::RT_isRoot, DSRTypes::VT_Container) == 0)
        throw std::runtime_error("the document has no root");
    check(tree.getCurrentContentItem().setConceptName(title.coded()), title.meaning);
}

// DCMTK roots its UIDs under its own site root; ours go under the site's.
struct Uids
{
    QString series;
    QString instance;
};

void save(DSRDocument &document, const Uids &uids, const QString &file)
{
    DcmFileFormat format;
    DcmDataset &dataset = *format.getDataset();
    check(document.write(dataset), "writing the document");
    check(dataset.putAndInsertString(DCM_SeriesInstanceUID, dicomText(uids.series).c_str()),
          "Series Instance UID");
    check(dataset.putAndInsertString(DCM_SOPInstanceUID, dicomText(uids.instance).c_str()),
          "SOP Instance UID");
    // Written beside and renamed, so a reader (or the outbox) never sees half a file.
    const QString partial = file + QStringLiteral(".part");
    check(format.saveFile(QFile::encodeName(partial).constData(), EXS_LittleEndianExplicit),
          "saving the document");
    QFile::remove(file);
    if (!QFile::rename(partial, file))
        throw std::runtime_error("cannot move the document to " + file.toStdString());
}

QString valueOf(const Entry &entry, const QString &item)
{
    const QString tag = entry.mapping.tags.value(item).toUpper();
    return tag.isEmpty() ? QString() : entry.values.value(tag).trimmed();
}

// A code as a CODE item when it has a coding scheme, as "code meaning" text
// otherwise.
void addCode(ContainerFiller &content, const Entry &entry, const QString &item,
             const Concept &conceptName, const QString &scheme)
{
    const QString code = valueOf(entry, item);
    if (code.isEmpty())
        return;
    QString meaning = entry.codeMeaning ? entry.codeMeaning(item, code).trimmed() : QString();
    if (scheme.isEmpty()) {
        const QString text = meaning.isEmpty() ? code : code + QLatin1Char(' ') + meaning;
        check(content.add(DSRTypes::VT_Text, &conceptName).setStringValue(dicomText(text)),
              conceptName.meaning);
        return;
    }
    if (meaning.isEmpty())
        meaning = code;
    const DSRCodedEntryValue coded(dicomText(code), dicomText(scheme),
                                   dicomText(meaning.left(CodeMeaningLength)));
    check(content.add(DSRTypes::VT_Code, &conceptName).setCodeValue(coded), conceptName.meaning);
}

void writeInformation(const Entry &entry, const Uids &uids, const QString &file)
{
    DSRDocument document;
    startDocument(document, DSRTypes::DT_BasicTextSR, entry.study, AdditionalInformation);
    ContainerFiller content(document.getTree());
    const QString author = valueOf(entry, QStringLiteral("author"));
    if (!author.isEmpty())
        check(content.add(DSRTypes::VT_PName, &Author).setStringValue(dicomText(author)), "Author");
    for (const TextItem &item : TextItems) {
        const QString text = valueOf(entry, QLatin1String(item.name));
        // Free text travels whole: a TEXT item's value is UT, unlimited.
        if (!text.isEmpty())
            check(content.add(DSRTypes::VT_Text, &item.conceptName).setStringValue(dicomText(text)),
                  item.conceptName.meaning);
    }
    addCode(content, entry, QStringLiteral("anatomy"), Anatomy, QStringLiteral("ACR"));
    addCode(content, entry, QStringLiteral("pathology"), Pathology, QStringLiteral("ACR"));
    addCode(content, entry, QStringLiteral("angiography"), Anatomy,
            entry.mapping.angioCodingScheme);
    save(document, uids, file);
}

void writeManifest(const Entry &entry, const Uids &uids, const Uids &information,
                   const QString &file)
{
    const Study &study = entry.study;
    DSRDocument document;
    startDocument(document, DSRTypes::DT_KeyObjectSelectionDocument, study, ForTeachingFileExport);
    // The manifest follows the key object selection template, and says so.
    check(document.getTree().setTemplateIdentification("2010", "DCMR"), "template");
    ContainerFiller content(document.getTree());
    DSRSOPInstanceReferenceList &evidence = document.getCurrentRequestedProcedureEvidence();
    for (const Instance &instance : study.instances) {
        const DSRImageReferenceValue image(dicomText(instance.sopClassUid),
                                           dicomText(instance.sopInstanceUid));
        check(content.add(DSRTypes::VT_Image).setImageReference(image), "image reference");
        check(evidence.addItem(dicomText(study.studyInstanceUid),
                               dicomText(study.seriesInstanceUid), dicomText(instance.sopClassUid),
                               dicomText(instance.sopInstanceUid)),
              "evidence");
    }
    // The information document belongs to the export as the images do.
    const DSRCompositeReferenceValue report(UID_BasicTextSRStorage,
                                            dicomText(information.instance));
    check(content.add(DSRTypes::VT_Composite).setCompositeReference(report), "report reference");
    check(evidence.addItem(dicomText(study.studyInstanceUid), dicomText(information.series),
                           UID_BasicTextSRStorage, dicomText(information.instance)),
          "evidence");
    save(document, uids, file);
}

} // namespace

const QStringList &Mapping::itemNames()
{
    static const QStringList names = [] {
        QStringList all{QStringLiteral("author")};
        for (const TextItem &item : TextItems)
            all << QLatin1String(item.name);
        all << QStringLiteral("anatomy") << QStringLiteral("pathology")
            << QStringLiteral("angiography");
        return all;
    }();
    return names;
}

Mapping Mapping::defaults()
{
    Mapping mapping;
    mapping.tags = {
        {QStringLiteral("author"), QStringLiteral("KESTO_TF_SUBMITTED_BY")},
        {QStringLiteral("history"), QStringLiteral("KESTO_TF_HISTORY")},
        {QStringLiteral("findings"), QStringLiteral("KESTO_TF_FINDINGS")},
        {QStringLiteral("discussion"), QStringLiteral("KESTO_TF_DISCUSSION")},
        {QStringLiteral("differential_diagnosis"),
         QStringLiteral("KESTO_TF_DIFFERENTIAL_DIAGNOSIS")},
        {QStringLiteral("diagnosis"), QStringLiteral("KESTO_TF_DIAGNOSIS")},
        {QStringLiteral("keywords"), QStringLiteral("KESTO_TF_KEYWORDS")},
        {QStringLiteral("anatomy"), QStringLiteral("KESTO_TF_ANATOMY")},
        {QStringLiteral("pathology"), QStringLiteral("KESTO_TF_PATHOLOGY")},
        {QStringLiteral("angiography"), QStringLiteral("KESTO_TF_ANGIOGRAPHY")},
    };
    return mapping;
}

WrittenFiles writeEntry(const Entry &entry, const QString &folder)
{
    if (entry.study.studyInstanceUid.isEmpty())
        throw std::runtime_error("the study has no Study Instance UID");
    if (!QDir().mkpath(folder))
        throw std::runtime_error("cannot create the export folder " + folder.toStdString());
    const Uids information{newUid(entry.uidRoot), newUid(entry.uidRoot)};
    const Uids manifest{newUid(entry.uidRoot), newUid(entry.uidRoot)};
    const QDir dir(folder);
    WrittenFiles files;
    files.information = dir.filePath(QStringLiteral("SR_%1.dcm").arg(information.instance));
    files.manifest = dir.filePath(QStringLiteral("KO_%1.dcm").arg(manifest.instance));
    writeInformation(entry, information, files.information);
    writeManifest(entry, manifest, information, files.manifest);
    return files;
}

} // namespace kivo::tce
