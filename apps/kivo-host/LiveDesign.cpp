#include "LiveDesign.h"

#include "FormLookup.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(QStringLiteral("design mode: %1").arg(what).toStdString());
}

QAction *requireTool(const QWidget *form, int id, const char *caption)
{
    QAction *tool = FormLookup::tool(form, id);
    if (!tool || !tool->isVisible() || !tool->isEnabled())
        fail(QStringLiteral("the window does not offer %1").arg(QLatin1String(caption)));
    return tool;
}

} // namespace

LiveDesign::LiveDesign(QWidget *form) : m_form(form)
{
    waitUntilShown(form);
}

void LiveDesign::waitUntilShown(const QWidget *form)
{
    if (!QTest::qWaitForWindowExposed(form->windowHandle()))
        fail(QStringLiteral("the teaching-file window did not come on the screen"));
}

void LiveDesign::enter()
{
    requireTool(m_form, FormLookup::DesignModeTool, "Design Mode")->trigger();
    // The layout tools open only in design mode.
    const QAction *save = FormLookup::tool(m_form, FormLookup::SaveLayoutTool);
    if (!save || !save->isEnabled())
        fail(QStringLiteral("Design Mode was chosen but Save Layout stays disabled"));
}

void LiveDesign::drag(const QWidget *control, const QPoint &offset)
{
    QWindow *window = m_form->windowHandle();
    const QPoint from = m_form->mapFromGlobal(control->mapToGlobal(control->rect().center()));
    const QPoint to = from + offset;
    if (!m_form->rect().contains(to))
        fail(QStringLiteral("the drop point lies outside the window"));
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
}

void LiveDesign::saveLayout()
{
    QAction *save = requireTool(m_form, FormLookup::SaveLayoutTool, "Save Layout");
    // A failed save is shown in a message box, which would wait for a
    // person; its text is the failure.
    QString shown;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&shown] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        const auto *box = qobject_cast<QMessageBox *>(dialog);
        shown = box ? box->text() : dialog->windowTitle();
        dialog->reject();
    });
    answerer.start(20);
    save->trigger();
    if (!shown.isEmpty())
        fail(QStringLiteral("the layout was not saved: %1").arg(shown));
}
