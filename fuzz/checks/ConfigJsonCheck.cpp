#include "FuzzChecks.h"
#include "PropertyViolation.h"
#include "TreeCompare.h"

#include "platform/Err.h"
#include "platform/config/ConfigJson.h"
#include "platform/config/ConfigPath.h"

namespace FuzzChecks {

namespace {

// Where the import puts the document, as `kivo-cfg import` does: below an
// existing key, renamed after the key it replaces.
const QString ParentPath = QStringLiteral("Corvalis\\system");
const QString ImportedName = QStringLiteral("imported");

std::shared_ptr<FreeConfigTree> imported(const QByteArray &json)
{
    try {
        return ConfigJson::fromJson(json);
    } catch (const Err &e) {
        require(e.number() == Err::ImportFailure, "a refused document is an import failure");
        require(e.description().startsWith(QLatin1String("line ")),
                "a refused document names the line");
        return nullptr;
    }
}

} // namespace

void checkConfigJson(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::shared_ptr<FreeConfigTree> tree = imported(json);
    if (!tree)
        return;

    tree->RenameRoot(tree->RootName(), ImportedName);
    const bool fits = ConfigPath::parse(ParentPath).names().size() + 1 +
                          TreeCompare::depthBelow(tree->rootNode()) <=
                      ConfigPath::MaxDepth;
    FreeConfigTree store;
    try {
        store.AttachTree(ParentPath, *tree);
    } catch (const Err &e) {
        // Only the depth of the place it goes to may refuse what was read.
        require(e.number() == Err::InvalidPath && !fits,
                "an accepted tree attaches unless it is too deep");
        return;
    }
    require(fits, "an attached tree holds no deeper keys than the store takes");

    const ConfigTreePtr attached = store.OpenSubTree(ParentPath + QLatin1Char('\\') + ImportedName);
    require(attached != nullptr, "the attached tree is where it was put");
    const QByteArray exported = ConfigJson::toJson(*attached);
    std::shared_ptr<FreeConfigTree> again;
    try {
        again = ConfigJson::fromJson(exported);
    } catch (const Err &e) {
        throw PropertyViolation(QStringLiteral("the export of an accepted tree is refused: ") +
                                e.description());
    }
    require(TreeCompare::sameTree(tree->rootNode(), again->rootNode()),
            "an accepted tree exports to the same tree");
    require(ConfigJson::toJson(*again) == exported, "a second export writes the same document");
}

} // namespace FuzzChecks
