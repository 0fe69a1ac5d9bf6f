#include "DemoSubmit.h"

#include "EntryController.h"
#include "FormLookup.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int GiveUpAfterMs = 60000;

int fail(const char *what)
{
    std::fprintf(stderr, "kivo-host: demo submit: %s\n", what);
    return 1;
}

// Typed as keys, not set as text: the window tells typing from a program's
// fill, and only typing marks the entry as changed.
void type(QWidget *box, const QString &text)
{
    // Appended, as to a history already written down.
    if (auto *edit = qobject_cast<QPlainTextEdit *>(box))
        edit->moveCursor(QTextCursor::End);
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QCoreApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
        QCoreApplication::sendEvent(box, &release);
    }
}

} // namespace

int runDemoSubmit(EntryController &controller, const Study &study, const QString &text)
{
    if (!controller.openEntry(study, false))
        return fail("the entry did not open");
    QWidget *form = controller.window();
    if (!form)
        return fail("the teaching-file window has no handle");
    QWidget *history = FormLookup::fieldTextBox(form, QStringLiteral("History:"));
    QAction *submit = FormLookup::tool(form, FormLookup::SubmitTool);
    if (!history || !submit)
        return fail("the window has no History field or no Submit tool");
    type(history, text);

    QEventLoop loop;
    qint32 status = -1;
    QObject::connect(&controller, &EntryController::submitCompleted, &loop,
                     [&loop, &status](qint32 completed) {
                         status = completed;
                         loop.quit();
                     });
    QObject::connect(&controller, &EntryController::failed, &loop, [&loop] { loop.quit(); });
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && box->button(QMessageBox::Yes))
            box->button(QMessageBox::Yes)->click();
    });
    answerer.start(20);
    QTimer::singleShot(GiveUpAfterMs, &loop, &QEventLoop::quit);
    // Triggered from inside the loop, so the question's own loop nests in it.
    QTimer::singleShot(0, submit, &QAction::trigger);
    loop.exec();

    if (status == -1)
        return fail("the submit did not complete");
    if (status != EntryController::Saved)
        return fail("the workstation did not save the record");
    std::printf("Saved the teaching file of %s\n", qPrintable(study.patient));
    return 0;
}
