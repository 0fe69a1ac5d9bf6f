#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// Acts on the next modal dialog of type Dialog as soon as it is up, from
// inside its own event loop. Gives up (and fails the test) when none comes,
// so a missing dialog cannot hang the run.
template <typename Dialog> void whenModal(std::function<void(Dialog *)> action)
{
    constexpr int PollMs = 5;
    constexpr int GiveUpAfterPolls = 2000;
    auto *timer = new QTimer(qApp);
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, polls, action] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog && ++*polls < GiveUpAfterPolls)
            return;
        timer->stop();
        timer->deleteLater();
        if (!dialog) {
            ADD_FAILURE() << "no modal " << Dialog::staticMetaObject.className() << " appeared";
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        action(dialog);
    });
    timer->start(PollMs);
}

inline QPushButton *buttonNamed(QWidget *dialog, const char *name)
{
    auto *button = dialog->findChild<QPushButton *>(QLatin1String(name));
    EXPECT_NE(button, nullptr) << "no button " << name;
    return button;
}

inline void click(QWidget *dialog, const char *buttonName)
{
    if (QPushButton *button = buttonNamed(dialog, buttonName))
        QTest::mouseClick(button, Qt::LeftButton);
}

inline bool closesSoon(QWidget *dialog)
{
    return QTest::qWaitFor([dialog] { return !dialog->isVisible(); });
}

// While it lives, answers every message box that comes up with the button of
// the given caption (the default button when none is given) and keeps the
// texts the boxes showed, so a test can click something that may or may not
// raise a box and then look at what was said.
class MessageBoxAnswerer
{
public:
    explicit MessageBoxAnswerer(QString caption = QString()) : m_caption(std::move(caption))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(5);
    }

    QStringList takeTexts() { return std::exchange(m_texts, {}); }

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_texts.append(box->text());
        QAbstractButton *button = box->defaultButton();
        for (QAbstractButton *candidate : box->buttons()) {
            if (!m_caption.isEmpty() && candidate->text() == m_caption)
                button = candidate;
        }
        if (!button) {
            ADD_FAILURE() << "no button to answer " << box->text().toStdString();
            box->close();
            return;
        }
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QString m_caption;
    QStringList m_texts;
    QTimer m_timer;
};
