#include "EntryScreenshot.h"

#include "EntryController.h"
#include "FormLookup.h"
#include "LiveDesign.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <stdexcept>

namespace {

// The window as the user sees it: the floating bands it owns are windows of
// their own, which a grab of the window leaves out; each gets a thin frame,
// as the window manager would give it. Where they stand out past the window
// the picture is transparent.
QPixmap asSeen(QWidget *form)
{
    QList<QWidget *> toolWindows;
    QRect area = form->geometry();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != form && window->isVisible() && window->parentWidget() &&
            window->parentWidget()->window() == form) {
            toolWindows.append(window);
            area |= window->geometry();
        }
    }
    QPixmap picture(area.size());
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.drawPixmap(form->geometry().topLeft() - area.topLeft(), form->grab());
    painter.setPen(form->palette().color(QPalette::Shadow));
    for (QWidget *window : toolWindows) {
        const QRect place = window->geometry().translated(-area.topLeft());
        painter.drawPixmap(place.topLeft(), window->grab());
        painter.drawRect(place.adjusted(0, 0, -1, -1));
    }
    painter.end();
    return picture;
}

void pickHistoryBox(QWidget *form)
{
    LiveDesign design(form);
    design.enter();
    const QWidget *history = FormLookup::fieldTextBox(form, QStringLiteral("History:"));
    if (!history)
        throw std::runtime_error("the window has no History field");
    design.drag(history, QPoint());
}

} // namespace

int saveEntryScreenshot(EntryController &controller, const Study &study, const QString &file,
                        bool designMode)
{
    if (!controller.openEntry(study, false))
        return 1;
    QWidget *form = controller.window();
    if (!form) {
        std::fprintf(stderr, "kivo-host: the teaching-file window has no handle\n");
        return 1;
    }
    if (designMode)
        pickHistoryBox(form);
    // Let pending layout and polish events settle before the window is drawn.
    QCoreApplication::processEvents();
    if (!asSeen(form).save(file, "PNG")) {
        std::fprintf(stderr, "kivo-host: cannot write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("Saved %s\n", qPrintable(file));
    return 0;
}
