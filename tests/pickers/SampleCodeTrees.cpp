#include "SampleCodeTrees.h"

#include "support/AcrKeyPaths.h"

#include "platform/config/ConfigTree.h"

#include <QStringList>

namespace {

// Each pair is a key path and its description; "" leaves the key without
// one (it then holds an empty value, so it has no children either).
void writeCodes(ConfigTree &tree, const QString &root, const QList<QStringList> &codes)
{
    const QString prefix = root.isEmpty() ? QString() : root + QLatin1Char('\\');
    for (const QStringList &code : codes) {
        if (code[1].isEmpty())
            tree.WriteString(prefix + code[0], QString());
        else
            tree.WriteString(prefix + code[0] + QStringLiteral("\\description"), code[1]);
    }
}

} // namespace

namespace SampleCodeTrees {

void writeAcr(ConfigTree &tree, const QString &root)
{
    writeCodes(tree, root,
               {{"1", "Skull and contents"},
                {"1\\11", ""},
                {"1\\12", "Brain"},
                {"1\\12\\123", "Cerebrum"},
                {"1\\12\\124", "Cerebellum"},
                {"1\\path_code\\4", "Neoplasm"},
                {"1\\path_code\\4\\45", "Benign neoplasm"},
                {"1\\path_code\\5", "Metabolic"},
                {"2", "Face and neck"},
                {"2\\23", "Neck"},
                {"2\\23\\234\\2345\\23456\\234567\\2345678", "Seventh digit"}});
}

void writeAngio(ConfigTree &tree, const QString &root)
{
    writeCodes(tree, root,
               {{"4", "Abdominal aorta"},
                {"4\\4.10", "Tenth branch"},
                {"4\\4.1", "First branch"},
                {"4\\4.x", "Not numbered"},
                {"4\\4.2", "Second branch"},
                {"4\\4.12", "Renal artery"},
                {"4\\4.12\\4.12.3", "Segmental branch"},
                {"5", "Iliac arteries"}});
}

QStringList writeGeneratedAcr(ConfigTree &tree, int count)
{
    const auto describe = [&tree](const QString &keyPath, const QString &kind) {
        const QString code = keyPath.section(QLatin1Char('\\'), -1);
        tree.WriteString(keyPath + QStringLiteral("\\description"), kind + QLatin1Char(' ') + code);
    };
    QStringList written = acrKeyPaths(count / 2);
    for (const QString &keyPath : written)
        describe(keyPath, QStringLiteral("Anatomy"));
    for (const QString region : {"1", "2", "3"}) {
        for (const QString &code : acrKeyPaths(count / 6)) {
            const QString keyPath = region + QStringLiteral("\\path_code\\") + code;
            describe(keyPath, QStringLiteral("Pathology"));
            written << keyPath;
        }
    }
    return written;
}

} // namespace SampleCodeTrees
