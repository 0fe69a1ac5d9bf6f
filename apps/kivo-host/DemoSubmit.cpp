#include "DemoSubmit.h"

#include "EntryController.h"
#include "FormLookup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
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

// Answers every Yes/No question the window asks with Yes, printing it.
class YesAnswerer
{
public:
    YesAnswerer()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box && box->button(QMessageBox::Yes)) {
                std::printf("Answered: %s\n", qPrintable(box->text()));
                box->button(QMessageBox::Yes)->click();
            }
        });
        m_timer.start(20);
    }

private:
    QTimer m_timer;
};

} // namespace

int runDemoSubmit(EntryController &controller, const Study &study, const QString &text)
{
    // A draft left by a workstation that died is offered as the entry opens.
    const YesAnswerer answerer;
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

int runDemoType(EntryController &controller, const Study &study, const QString &text)
{
    if (!controller.openEntry(study, false))
        return fail("the entry did not open");
    QWidget *form = controller.window();
    auto *afip = form ? form->findChild<QCheckBox *>(QStringLiteral("chkAFIP")) : nullptr;
    if (!afip)
        return fail("the teaching-file window has no handle or no AFIP box");
    // Each field set's shown input, in the sets' order.
    QMap<int, QWidget *> inputs;
    for (const char *name : {"m_aText", "m_aCombo"}) {
        for (QWidget *input : form->findChildren<QWidget *>(QLatin1String(name))) {
            if (input->isVisibleTo(form))
                inputs.insert(input->property("index").toInt(), input);
        }
    }
    for (auto it = inputs.cbegin(); it != inputs.cend(); ++it) {
        auto *combo = qobject_cast<QComboBox *>(it.value());
        type(combo ? static_cast<QWidget *>(combo->lineEdit()) : it.value(),
             QStringLiteral("%1 %2").arg(text).arg(it.key()));
        const QString value = combo ? combo->currentText()
                                    : qobject_cast<QPlainTextEdit *>(it.value())->toPlainText();
        std::printf("Typed: %s\n", qPrintable(value));
    }
    afip->click();
    std::fflush(stdout);
    return QApplication::exec();
}
