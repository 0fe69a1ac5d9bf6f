#include "ExportSettings.h"

#include "HostOptions.h"

#include "config/StoreSeed.h"
#include "platform/config/ConfigTree.h"

#include <QFileInfo>

ExportSettings ExportSettings::read(const ConfigTree &store, const HostOptions &options)
{
    const QString branch =
        QLatin1String(StoreSeed::TeachingFilePath) + QStringLiteral("\\export\\");
    const auto stored = [&](const char *key) {
        return store.ReadString(branch + QLatin1String(key)).trimmed();
    };

    ExportSettings settings;
    settings.folder = options.exportDir.isEmpty() ? stored("directory") : options.exportDir;
    const QString destination =
        options.exportTo.isEmpty() ? stored("destination") : options.exportTo;
    if (!destination.isEmpty()) {
        settings.destination = kivo::tce::Destination::parse(destination);
        if (!settings.destination)
            settings.problem = QStringLiteral("The stored export destination \"%1\" is not "
                                              "AET@HOST:PORT; nothing is sent.")
                                   .arg(destination);
        else if (const QString callingAe = stored("calling_ae"); !callingAe.isEmpty())
            settings.destination->callingAeTitle = callingAe.left(16);
    }
    settings.outbox = QFileInfo(options.recordsFile).absolutePath() + QStringLiteral("/outbox");
    settings.uidRoot = stored("uid_root");
    settings.mapping = kivo::tce::Mapping::defaults();
    settings.mapping.angioCodingScheme = stored("angio_coding_scheme");
    for (const QString &item : kivo::tce::Mapping::itemNames()) {
        const QString path = branch + QStringLiteral("items\\") + item;
        // An item the store names with an empty tag is left out on purpose.
        if (store.KeyExists(path))
            settings.mapping.tags.insert(item, store.ReadString(path).trimmed().toUpper());
    }
    return settings;
}
