#include "QV_MsgBox.h"

#include "QV_Resource.h"
#include "ResourceIds.h"
#include "platform/Err.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr qint32 ButtonStyleMask = 0x0F;
constexpr qint32 IconStyleMask = 0xF0;
// Used when no background colour was configured; kept for every later dialog.
constexpr quint32 DefaultBackColor = 0x00C0C0C0;

QPointer<QWidget> ownerWindow;

struct ButtonInfo
{
    QMessageBox::StandardButton button;
    qint32 captionId;
    qint32 answer;
};

constexpr ButtonInfo OkButton{QMessageBox::Ok, ResourceIds::OK_CAPTION, QV_MsgBox::AnswerOk};
constexpr ButtonInfo CancelButton{QMessageBox::Cancel, ResourceIds::CANCEL_CAPTION,
                                  QV_MsgBox::AnswerCancel};
constexpr ButtonInfo YesButton{QMessageBox::Yes, ResourceIds::YES_CAPTION, QV_MsgBox::AnswerYes};
constexpr ButtonInfo NoButton{QMessageBox::No, ResourceIds::NO_CAPTION, QV_MsgBox::AnswerNo};

// The buttons of a style, first one the default, as the platform's own box has them.
QList<ButtonInfo> buttonsOf(qint32 style)
{
    switch (style & ButtonStyleMask) {
    case QV_MsgBox::MsgOkOnly:
        return {OkButton};
    case QV_MsgBox::MsgOkCancel:
        return {OkButton, CancelButton};
    case QV_MsgBox::MsgYesNoCancel:
        return {YesButton, NoButton, CancelButton};
    case QV_MsgBox::MsgYesNo:
        return {YesButton, NoButton};
    }
    throw Err(Err::InvalidArgument, QStringLiteral("Message box button style %1 is not supported")
                                        .arg(style & ButtonStyleMask));
}

QMessageBox::Icon iconOf(qint32 style)
{
    switch (style & IconStyleMask) {
    case QV_MsgBox::MsgCritical:
        return QMessageBox::Critical;
    case QV_MsgBox::MsgQuestion:
        return QMessageBox::Question;
    case QV_MsgBox::MsgExclamation:
        return QMessageBox::Warning;
    case QV_MsgBox::MsgInformation:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// QMessageBox settles its size in showEvent, just before the window
// appears; placing it there puts it straight where it belongs.
class PlacedMessageBox : public QMessageBox
{
public:
    PlacedMessageBox(QWidget *parent, qint32 positionMode, qint16 x, qint16 y)
        : QMessageBox(parent), m_positionMode(positionMode), m_x(x), m_y(y)
    {
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        if (m_positionMode == QV_MsgBox::PositionOwnerCentre)
            move(ownerCentredPosition());
        else if (m_positionMode == QV_MsgBox::PositionAt)
            move(QV_MsgBox::placedAt(m_x, m_y, screen()->geometry(), frameGeometry().size()));
    }

private:
    QPoint ownerCentredPosition() const
    {
        QWidget *reference = QV_MsgBox::OwnerWindow();
        if (!reference && parentWidget())
            reference = parentWidget()->window();
        // Without any window to centre on, the screen is the natural reference.
        const QRect referenceRect = reference ? reference->frameGeometry() : screen()->geometry();
        return QV_MsgBox::centredOn(referenceRect, frameGeometry().size());
    }

    qint32 m_positionMode;
    qint16 m_x;
    qint16 m_y;
};

void applyBackColor(QWidget *box)
{
    if (QV_Resource::DialogBackColor() == 0)
        QV_Resource::SetDialogBackColor(DefaultBackColor);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, QV_Resource::ToQColor(QV_Resource::DialogBackColor()));
    box->setPalette(palette);
}

qint32 showStyled(const QString &text, qint32 style)
{
    return QV_MsgBox::HookedMsgBox(text, -1, -1, QV_MsgBox::PositionOwnerCentre, style,
                                   QV_Resource::GetResString(ResourceIds::MSGBOX_TITLE));
}

} // namespace

namespace QV_MsgBox {

void SetOwnerWindow(QWidget *window)
{
    ownerWindow = window;
}

QWidget *OwnerWindow()
{
    return ownerWindow.data();
}

qint32 HookedMsgBox(const QString &prompt, qint16 x, qint16 y, qint32 positionMode, qint32 style,
                    const QString &title)
{
    const QList<ButtonInfo> buttons = buttonsOf(style);
    QWidget *parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();

    PlacedMessageBox box(parent, positionMode, x, y);
    box.setWindowTitle(title.isEmpty() ? QGuiApplication::applicationDisplayName() : title);
    // Prompts carry user data such as table names: never interpret them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    box.setIcon(iconOf(style));
    for (const ButtonInfo &info : buttons)
        box.addButton(info.button)->setText(QV_Resource::GetResString(info.captionId));
    box.setDefaultButton(buttons.first().button);
    // Escape and closing answer like the last button (No, Cancel, or the only OK).
    box.setEscapeButton(buttons.last().button);
    applyBackColor(&box);

    const int clicked = box.exec();
    for (const ButtonInfo &info : buttons) {
        if (info.button == clicked)
            return info.answer;
    }
    return buttons.last().answer;
}

void ShowErrorMsg(const QString &text)
{
    showStyled(text, MsgCritical | MsgOkOnly);
}

void ShowInfoMsg(const QString &text)
{
    showStyled(text, MsgInformation | MsgOkOnly);
}

qint32 AskQuestion(const QString &text)
{
    return showStyled(text, MsgQuestion | MsgYesNo);
}

void ShowErrorMsgCode(const QString &text, qint32 code)
{
    ShowErrorMsg(withCodeSuffix(text, code, true));
}

void ShowInfoMsgCode(const QString &text, qint32 code)
{
    ShowInfoMsg(withCodeSuffix(text, code, true));
}

qint32 AskQuestionCode(const QString &text, qint32 code)
{
    return AskQuestion(withCodeSuffix(text, code, false));
}

QString withCodeSuffix(const QString &text, qint32 code, bool trailingBlank)
{
    if (code < 1)
        return text;
    QString result = text + QStringLiteral(" (02-") + QString::number(code) + QLatin1Char(')');
    if (trailingBlank)
        result += QLatin1Char(' ');
    return result;
}

QPoint centredOn(const QRect &reference, const QSize &boxSize)
{
    return QPoint(
        reference.left() + Twips::roundHalfEven((reference.width() - boxSize.width()) / 2.0),
        reference.top() + Twips::roundHalfEven((reference.height() - boxSize.height()) / 2.0));
}

QPoint placedAt(int x, int y, const QRect &screen, const QSize &boxSize)
{
    const QPoint centre = centredOn(screen, boxSize);
    return QPoint(x == -1 ? centre.x() : x, y == -1 ? centre.y() : y);
}

} // namespace QV_MsgBox
