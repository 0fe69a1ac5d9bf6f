#include "ToolBarLayout.h"

ToolBarLayout ToolBarLayout::designedIn()
{
    static const struct
    {
        qint32 id;
        const char *caption;
        const char *name;
    } commands[] = {
        {1, "Submit", "mnuSubmit"},
        {2, "Clear All", "mnuClearAll"},
        {3, "&Revert To Original", "mnuRevertToOriginal"},
        {4, "Design Mode", "mnuDesignMode"},
        {5, "Save Layout", "mnuSave"},
        {6, "Reset Layout", "mnuResetLayout"},
        {7, "Close", "mnuClose"},
    };

    ToolBarLayout layout;
    Band main;
    main.name = QStringLiteral("Band1");
    for (const auto &command : commands) {
        Tool tool;
        tool.id = command.id;
        tool.caption = QString::fromLatin1(command.caption);
        tool.name = QString::fromLatin1(command.name);
        layout.tools.append(tool);
        main.toolIds.append(command.id);
    }
    layout.bands.append(main);
    return layout;
}
