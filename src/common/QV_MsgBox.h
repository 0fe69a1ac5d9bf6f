#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

// The component's message boxes: every box gets its button texts from the
// language catalog, the dialog background colour and a placement over the
// main window. The wrappers fix icon, buttons and title.
namespace QV_MsgBox {

// Style bits and answers keep the values the host platform documents, so a
// caller's numbers mean the same on every platform.
enum Style : qint32 {
    MsgOkOnly = 0,
    MsgOkCancel = 1,
    MsgYesNoCancel = 3,
    MsgYesNo = 4,
    MsgCritical = 16,
    MsgQuestion = 32,
    MsgExclamation = 48,
    MsgInformation = 64,
};
enum Answer : qint32 {
    AnswerOk = 1,
    AnswerCancel = 2,
    AnswerYes = 6,
    AnswerNo = 7,
};
enum PositionMode : qint32 {
    PositionLeave = 0,
    PositionOwnerCentre = 1,
    PositionAt = 2,
};

// The window boxes are centred on; the main form sets it at its first paint.
// Held weakly: a destroyed window reads as none.
void SetOwnerWindow(QWidget *window);
QWidget *OwnerWindow();

// Shows a modal box and returns the answer. x and y matter for PositionAt
// only (-1 centres on the screen along that axis). An empty title gives the
// application's name. The box's parent is the active modal dialog, else the
// active window. Throws Err for button styles the component does not offer.
qint32 HookedMsgBox(const QString &prompt, qint16 x, qint16 y, qint32 positionMode, qint32 style,
                    const QString &title = QString());

void ShowErrorMsg(const QString &text);
void ShowInfoMsg(const QString &text);
qint32 AskQuestion(const QString &text);
// With code >= 1 the text ends in the component's code suffix.
void ShowErrorMsgCode(const QString &text, qint32 code);
void ShowInfoMsgCode(const QString &text, qint32 code);
qint32 AskQuestionCode(const QString &text, qint32 code);

// The arithmetic behind the boxes, free of any window.

// text + " (02-<code>) " (or without the trailing blank); text alone when
// code < 1.
QString withCodeSuffix(const QString &text, qint32 code, bool trailingBlank);
// Top-left that centres a box of boxSize on reference.
QPoint centredOn(const QRect &reference, const QSize &boxSize);
// Top-left for PositionAt: x and y as given, -1 centring on the screen.
QPoint placedAt(int x, int y, const QRect &screen, const QSize &boxSize);

} // namespace QV_MsgBox
