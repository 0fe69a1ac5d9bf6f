#include "DemoDesign.h"

#include "EntryController.h"
#include "FormLookup.h"
#include "LiveDesign.h"

#include <QLabel>

#include <cstdio>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(QStringLiteral("demo design: %1").arg(what).toStdString());
}

QWidget *openEntry(EntryController &controller, const Study &study)
{
    if (!controller.openEntry(study, false))
        fail(QStringLiteral("the entry of %1 did not open").arg(study.patient));
    QWidget *form = controller.window();
    if (!form)
        fail(QStringLiteral("the teaching-file window has no handle"));
    return form;
}

QLabel *historyLabel(const QWidget *form)
{
    QLabel *label = FormLookup::fieldLabel(form, QStringLiteral("History:"));
    if (!label)
        fail(QStringLiteral("the window has no History field"));
    return label;
}

// Where the label sits on the field area, in pixels: "x,y wxh".
QByteArray place(const QLabel *label)
{
    const QRect rect = label->geometry();
    return QStringLiteral("%1,%2 %3x%4")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height())
        .toUtf8();
}

} // namespace

int runDemoDesign(EntryController &controller, const QList<Study> &studies, const QPoint &offset)
{
    if (studies.size() < 2)
        fail(QStringLiteral("the records database needs two studies"));
    QWidget *form = openEntry(controller, studies.at(0));
    LiveDesign design(form);
    design.enter();
    QLabel *label = historyLabel(form);
    const QByteArray before = place(label);
    design.drag(label, offset);
    const QByteArray dropped = place(label);
    design.saveLayout();

    if (!controller.closeEntry())
        fail(QStringLiteral("the entry did not close"));
    if (form->isVisible())
        fail(QStringLiteral("the teaching-file window stayed up after its entry was closed"));
    form = openEntry(controller, studies.at(1));
    LiveDesign::waitUntilShown(form);
    std::printf("History label: before %s, dropped %s, in the next entry %s\n", before.constData(),
                dropped.constData(), place(historyLabel(form)).constData());
    return 0;
}
