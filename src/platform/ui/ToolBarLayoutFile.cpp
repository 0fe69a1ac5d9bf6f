#include "ToolBarLayoutFile.h"

#include "platform/Err.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>
#include <QMetaEnum>
#include <QSet>
#include <QStyle>

namespace {

const QLatin1String StandardIconPrefix("std:");

// Reads one document, carrying what every error message needs.
class LayoutReader
{
public:
    explicit LayoutReader(const QString &fileName)
        : m_fileName(fileName), m_folder(QFileInfo(fileName).absoluteDir())
    {
    }

    [[noreturn]] void fail(const QString &where, const QString &what) const
    {
        throw Err(Err::ImportFailure, QStringLiteral("Toolbar layout %1: %2: %3")
                                          .arg(QDir::toNativeSeparators(m_fileName), where, what));
    }

    void checkMembers(const QJsonObject &object, const QString &where,
                      std::initializer_list<const char *> known) const
    {
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            const bool isKnown = std::any_of(known.begin(), known.end(), [&](const char *name) {
                return it.key() == QLatin1String(name);
            });
            if (!isKnown)
                fail(where, QStringLiteral("unknown member \"%1\"").arg(it.key()));
        }
    }

    QString string(const QJsonObject &object, const QString &where, const char *member) const
    {
        const QJsonValue value = object.value(QLatin1String(member));
        if (value.isUndefined())
            return QString();
        if (!value.isString())
            fail(where + QLatin1Char('.') + QLatin1String(member), QStringLiteral("not a string"));
        return value.toString();
    }

    bool boolean(const QJsonObject &object, const QString &where, const char *member,
                 bool defaultValue) const
    {
        const QJsonValue value = object.value(QLatin1String(member));
        if (value.isUndefined())
            return defaultValue;
        if (!value.isBool())
            fail(where + QLatin1Char('.') + QLatin1String(member),
                 QStringLiteral("not true or false"));
        return value.toBool();
    }

    qint32 toolId(const QJsonValue &value, const QString &where) const
    {
        const double number = value.toDouble(-1);
        if (!value.isDouble() || number < 0 || number > std::numeric_limits<qint32>::max() ||
            number != qint32(number))
            fail(where, QStringLiteral("a tool id must be a whole number from 0 up"));
        return qint32(number);
    }

    QJsonArray array(const QJsonObject &object, const QString &where, const char *member) const
    {
        const QJsonValue value = object.value(QLatin1String(member));
        if (value.isUndefined())
            return {};
        if (!value.isArray())
            fail(where + QLatin1Char('.') + QLatin1String(member), QStringLiteral("not an array"));
        return value.toArray();
    }

    QString icon(const QString &text, const QString &where) const
    {
        if (text.isEmpty())
            return text;
        if (text.startsWith(StandardIconPrefix)) {
            bool known = false;
            QMetaEnum::fromType<QStyle::StandardPixmap>().keyToValue(
                text.mid(StandardIconPrefix.size()).toLatin1().constData(), &known);
            if (!known)
                fail(where, QStringLiteral("no standard icon \"%1\"").arg(text));
            return text;
        }
        const QString path = m_folder.absoluteFilePath(text);
        if (!QFileInfo(path).isFile())
            fail(where, QStringLiteral("icon file \"%1\" not found").arg(path));
        return path;
    }

    ToolBarLayout::Tool tool(const QJsonValue &value, const QString &where) const
    {
        if (!value.isObject())
            fail(where, QStringLiteral("a tool must be an object"));
        const QJsonObject object = value.toObject();
        checkMembers(
            object, where,
            {"id", "caption", "name", "key", "icon", "toolTip", "visible", "enabled", "subBand"});
        if (!object.contains(QLatin1String("id")))
            fail(where, QStringLiteral("the tool has no \"id\""));

        ToolBarLayout::Tool tool;
        tool.id = toolId(object.value(QLatin1String("id")), where + QStringLiteral(".id"));
        tool.caption = string(object, where, "caption");
        tool.name = string(object, where, "name");
        tool.key = string(object, where, "key");
        if (!tool.key.isEmpty()) {
            const QKeySequence sequence = QKeySequence::fromString(tool.key);
            if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown)
                fail(where + QStringLiteral(".key"),
                     QStringLiteral("\"%1\" is not a key").arg(tool.key));
        }
        tool.icon = icon(string(object, where, "icon"), where + QStringLiteral(".icon"));
        tool.toolTip = string(object, where, "toolTip");
        tool.subBand = string(object, where, "subBand");
        tool.visible = boolean(object, where, "visible", true);
        tool.enabled = boolean(object, where, "enabled", true);
        return tool;
    }

    ToolBarLayout::BandKind bandKind(const QString &text, const QString &where) const
    {
        if (text.isEmpty() || text == QLatin1String("normal"))
            return ToolBarLayout::BandKind::Normal;
        if (text == QLatin1String("popup"))
            return ToolBarLayout::BandKind::Popup;
        if (text == QLatin1String("floating"))
            return ToolBarLayout::BandKind::Floating;
        fail(where, QStringLiteral("kind \"%1\" is none of normal, popup, floating").arg(text));
    }

    ToolBarLayout::Band band(const QJsonValue &value, const QString &where,
                             const QSet<qint32> &toolIds) const
    {
        if (!value.isObject())
            fail(where, QStringLiteral("a band must be an object"));
        const QJsonObject object = value.toObject();
        checkMembers(object, where, {"name", "caption", "kind", "tools"});

        ToolBarLayout::Band band;
        band.name = string(object, where, "name");
        if (band.name.isEmpty())
            fail(where, QStringLiteral("the band has no \"name\""));
        band.caption = string(object, where, "caption");
        band.kind = bandKind(string(object, where, "kind"), where + QStringLiteral(".kind"));
        const QJsonArray tools = array(object, where, "tools");
        for (int i = 0; i < tools.size(); ++i) {
            const QString toolWhere = where + QStringLiteral(".tools[%1]").arg(i);
            const qint32 id = toolId(tools.at(i), toolWhere);
            if (!toolIds.contains(id))
                fail(toolWhere, QStringLiteral("no tool %1 is defined").arg(id));
            if (band.toolIds.contains(id))
                fail(toolWhere, QStringLiteral("tool %1 is already in this band").arg(id));
            band.toolIds.append(id);
        }
        return band;
    }

    ToolBarLayout layout(const QByteArray &json) const
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json, &error);
        if (error.error != QJsonParseError::NoError)
            fail(position(json, error.offset), error.errorString());
        if (!document.isObject())
            fail(QStringLiteral("document"), QStringLiteral("not a JSON object"));

        const QJsonObject root = document.object();
        const QString top = QStringLiteral("document");
        checkMembers(root, top, {"format", "version", "tools", "bands"});
        if (root.value(QLatin1String("format")) != QLatin1String("kivo_bar"))
            fail(top, QStringLiteral("not a toolbar layout (\"format\" is not \"kivo_bar\")"));
        if (root.value(QLatin1String("version")).toInt() != 1)
            fail(QStringLiteral("version"), QStringLiteral("only version 1 is understood"));

        ToolBarLayout layout;
        QSet<qint32> toolIds;
        const QJsonArray tools = array(root, top, "tools");
        for (int i = 0; i < tools.size(); ++i) {
            const QString where = QStringLiteral("tools[%1]").arg(i);
            const ToolBarLayout::Tool tool = this->tool(tools.at(i), where);
            if (toolIds.contains(tool.id))
                fail(where, QStringLiteral("tool %1 is defined twice").arg(tool.id));
            toolIds.insert(tool.id);
            layout.tools.append(tool);
        }

        QSet<QString> bandNames;
        const QJsonArray bands = array(root, top, "bands");
        for (int i = 0; i < bands.size(); ++i) {
            const QString where = QStringLiteral("bands[%1]").arg(i);
            const ToolBarLayout::Band band = this->band(bands.at(i), where, toolIds);
            if (bandNames.contains(band.name))
                fail(where, QStringLiteral("band \"%1\" is defined twice").arg(band.name));
            bandNames.insert(band.name);
            layout.bands.append(band);
        }
        checkSubBands(layout);
        return layout;
    }

private:
    static QString position(const QByteArray &json, int offset)
    {
        const QByteArray before = json.left(offset);
        const int line = int(before.count('\n')) + 1;
        const int column = int(before.size() - before.lastIndexOf('\n'));
        return QStringLiteral("line %1, column %2").arg(line).arg(column);
    }

    void checkSubBands(const ToolBarLayout &layout) const
    {
        for (int i = 0; i < layout.tools.size(); ++i) {
            const QString &subBand = layout.tools.at(i).subBand;
            if (subBand.isEmpty())
                continue;
            const auto band =
                std::find_if(layout.bands.cbegin(), layout.bands.cend(),
                             [&](const ToolBarLayout::Band &b) { return b.name == subBand; });
            if (band == layout.bands.cend() || band->kind != ToolBarLayout::BandKind::Popup)
                fail(QStringLiteral("tools[%1].subBand").arg(i),
                     QStringLiteral("\"%1\" is not a popup band").arg(subBand));
        }
        QSet<QString> withoutCircle;
        for (const ToolBarLayout::Band &band : layout.bands) {
            QStringList path;
            checkNoCycle(layout, band, path, withoutCircle);
        }
    }

    // A submenu that contains itself, directly or through others, would
    // open without end. A band is followed once: bands that open the same
    // submenu through many tools would otherwise make the walk take time
    // exponential in the number of bands.
    void checkNoCycle(const ToolBarLayout &layout, const ToolBarLayout::Band &band,
                      QStringList &path, QSet<QString> &withoutCircle) const
    {
        if (withoutCircle.contains(band.name))
            return;
        if (path.contains(band.name)) {
            path.append(band.name);
            fail(QStringLiteral("bands"), QStringLiteral("popup bands open each other in a "
                                                         "circle: %1")
                                              .arg(path.join(QStringLiteral(" > "))));
        }
        path.append(band.name);
        for (const ToolBarLayout::Tool &tool : layout.tools) {
            if (tool.subBand.isEmpty() || !band.toolIds.contains(tool.id))
                continue;
            for (const ToolBarLayout::Band &sub : layout.bands) {
                if (sub.name == tool.subBand)
                    checkNoCycle(layout, sub, path, withoutCircle);
            }
        }
        path.removeLast();
        withoutCircle.insert(band.name);
    }

    QString m_fileName;
    QDir m_folder;
};

} // namespace

namespace ToolBarLayoutFile {

ToolBarLayout read(const QString &fileName)
{
    // Every Init reads the same file: it is parsed again only when it changed.
    struct Parsed
    {
        QString fileName;
        QDateTime modified;
        qint64 size = -1;
        ToolBarLayout layout;
    };
    thread_local Parsed last;
    const QFileInfo info(fileName);
    if (info.exists() && fileName == last.fileName && info.lastModified() == last.modified &&
        info.size() == last.size)
        return last.layout;

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        LayoutReader(fileName).fail(QStringLiteral("file"), file.errorString());
    ToolBarLayout layout = parse(file.readAll(), fileName);
    last = {fileName, info.lastModified(), info.size(), layout};
    return layout;
}

ToolBarLayout parse(const QByteArray &json, const QString &fileName)
{
    return LayoutReader(fileName).layout(json);
}

} // namespace ToolBarLayoutFile
