#include "EntryScreenshot.h"

#include "EntryController.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

int saveEntryScreenshot(EntryController &controller, const Study &study, const QString &file)
{
    if (!controller.openEntry(study, false))
        return 1;
    QWidget *form = controller.window();
    if (!form) {
        std::fprintf(stderr, "kivo-host: the teaching-file window has no handle\n");
        return 1;
    }
    // Let pending layout and polish events settle before the window is drawn.
    QCoreApplication::processEvents();
    if (!form->grab().save(file, "PNG")) {
        std::fprintf(stderr, "kivo-host: cannot write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("Saved %s\n", qPrintable(file));
    return 0;
}
