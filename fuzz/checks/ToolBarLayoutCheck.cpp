#include "FuzzChecks.h"
#include "PropertyViolation.h"

#include "platform/Err.h"
#include "platform/ui/ToolBarLayoutFile.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>

namespace FuzzChecks {

namespace {

// A folder that holds no icon files: an icon that is a file path is refused,
// so the check never depends on what the disk holds.
const QString FileName = QStringLiteral("/nonexistent/kivo-fuzz/kivo_bar.json");

bool sameTool(const ToolBarLayout::Tool &a, const ToolBarLayout::Tool &b)
{
    return a.id == b.id && a.caption == b.caption && a.name == b.name && a.key == b.key &&
           a.icon == b.icon && a.toolTip == b.toolTip && a.subBand == b.subBand &&
           a.visible == b.visible && a.enabled == b.enabled;
}

bool sameBand(const ToolBarLayout::Band &a, const ToolBarLayout::Band &b)
{
    return a.name == b.name && a.caption == b.caption && a.kind == b.kind && a.toolIds == b.toolIds;
}

QString kindName(ToolBarLayout::BandKind kind)
{
    switch (kind) {
    case ToolBarLayout::BandKind::Popup:
        return QStringLiteral("popup");
    case ToolBarLayout::BandKind::Floating:
        return QStringLiteral("floating");
    case ToolBarLayout::BandKind::Normal:
        break;
    }
    return QStringLiteral("normal");
}

// The layout as a file again, every member written.
QByteArray written(const ToolBarLayout &layout)
{
    QJsonArray tools;
    for (const ToolBarLayout::Tool &tool : layout.tools) {
        tools.append(QJsonObject{{QStringLiteral("id"), tool.id},
                                 {QStringLiteral("caption"), tool.caption},
                                 {QStringLiteral("name"), tool.name},
                                 {QStringLiteral("key"), tool.key},
                                 {QStringLiteral("icon"), tool.icon},
                                 {QStringLiteral("toolTip"), tool.toolTip},
                                 {QStringLiteral("subBand"), tool.subBand},
                                 {QStringLiteral("visible"), tool.visible},
                                 {QStringLiteral("enabled"), tool.enabled}});
    }
    QJsonArray bands;
    for (const ToolBarLayout::Band &band : layout.bands) {
        QJsonArray ids;
        for (const qint32 id : band.toolIds)
            ids.append(id);
        bands.append(QJsonObject{{QStringLiteral("name"), band.name},
                                 {QStringLiteral("caption"), band.caption},
                                 {QStringLiteral("kind"), kindName(band.kind)},
                                 {QStringLiteral("tools"), ids}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), QStringLiteral("kivo_bar")},
                                     {QStringLiteral("version"), 1},
                                     {QStringLiteral("tools"), tools},
                                     {QStringLiteral("bands"), bands}})
        .toJson(QJsonDocument::Compact);
}

// Whether a popup band, through the submenus of its tools, opens itself:
// a depth-first search that visits each band once.
class SubmenuGraph
{
public:
    explicit SubmenuGraph(const ToolBarLayout &layout)
    {
        QHash<qint32, QString> subBandOfTool;
        for (const ToolBarLayout::Tool &tool : layout.tools) {
            if (!tool.subBand.isEmpty())
                subBandOfTool.insert(tool.id, tool.subBand);
        }
        for (const ToolBarLayout::Band &band : layout.bands) {
            for (const qint32 id : band.toolIds) {
                if (subBandOfTool.contains(id))
                    m_opens[band.name].append(subBandOfTool.value(id));
            }
        }
    }

    bool hasCircle()
    {
        for (auto it = m_opens.cbegin(); it != m_opens.cend(); ++it) {
            if (reachesOpenBand(it.key()))
                return true;
        }
        return false;
    }

private:
    bool reachesOpenBand(const QString &band)
    {
        if (m_done.contains(band))
            return false;
        if (m_open.contains(band))
            return true;
        m_open.insert(band);
        for (const QString &sub : m_opens.value(band)) {
            if (reachesOpenBand(sub))
                return true;
        }
        m_open.remove(band);
        m_done.insert(band);
        return false;
    }

    QHash<QString, QStringList> m_opens;
    QSet<QString> m_open;
    QSet<QString> m_done;
};

void checkReferences(const ToolBarLayout &layout)
{
    QSet<qint32> toolIds;
    for (const ToolBarLayout::Tool &tool : layout.tools) {
        require(tool.id >= 0, "a tool id is a whole number from 0 up");
        require(!toolIds.contains(tool.id), "each tool is defined once");
        toolIds.insert(tool.id);
    }
    QHash<QString, ToolBarLayout::BandKind> kindOfBand;
    for (const ToolBarLayout::Band &band : layout.bands) {
        require(!band.name.isEmpty(), "every band has a name");
        require(!kindOfBand.contains(band.name), "each band is defined once");
        kindOfBand.insert(band.name, band.kind);
        QSet<qint32> inBand;
        for (const qint32 id : band.toolIds) {
            require(toolIds.contains(id), "a band shows defined tools only");
            require(!inBand.contains(id), "a band shows a tool once");
            inBand.insert(id);
        }
    }
    for (const ToolBarLayout::Tool &tool : layout.tools) {
        require(tool.subBand.isEmpty() ||
                    kindOfBand.value(tool.subBand, ToolBarLayout::BandKind::Normal) ==
                        ToolBarLayout::BandKind::Popup,
                "a tool opens a popup band as its submenu");
    }
    require(!SubmenuGraph(layout).hasCircle(), "no popup band opens itself");
}

} // namespace

void checkToolBarLayout(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    ToolBarLayout layout;
    try {
        layout = ToolBarLayoutFile::parse(json, FileName);
    } catch (const Err &e) {
        require(e.number() == Err::ImportFailure, "a refused layout is an import failure");
        require(e.description().startsWith(QLatin1String("Toolbar layout ")),
                "a refused layout names the file");
        return;
    }
    checkReferences(layout);

    ToolBarLayout again;
    try {
        again = ToolBarLayoutFile::parse(written(layout), FileName);
    } catch (const Err &e) {
        throw PropertyViolation(QStringLiteral("an accepted layout written out is refused: ") +
                                e.description());
    }
    require(std::equal(again.tools.cbegin(), again.tools.cend(), layout.tools.cbegin(),
                       layout.tools.cend(), sameTool) &&
                std::equal(again.bands.cbegin(), again.bands.cend(), layout.bands.cbegin(),
                           layout.bands.cend(), sameBand),
            "an accepted layout written out reads back the same");
}

} // namespace FuzzChecks
