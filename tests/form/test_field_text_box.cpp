// The form's free-text box on its own, typed into, pasted into and dropped
// onto like a user does.
#include "form/FieldTextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void select(FieldTextBox &box, int from, int to)
{
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

// Guards against a maximum length that only typing respects, so a paste or a
// drop overflows the field the host stores; against a full box that refuses
// to replace a selection; and against text from the record being cut short.
TEST(FieldTextBoxTest, MaximumLengthHoldsForTypingPasteAndDrop)
{
    FieldTextBox box;
    box.setMaxLength(5);
    box.show();

    QTest::keyClicks(&box, QStringLiteral("abcdefg"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("abcde"));
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.toPlainText(), QStringLiteral("abcde"));

    QApplication::clipboard()->setText(QStringLiteral("XYZ"));
    select(box, 3, 5);
    box.paste();
    EXPECT_EQ(box.toPlainText(), QStringLiteral("abcXY"));

    box.setPlainText(QStringLiteral("ab"));
    QMimeData dragged;
    dragged.setText(QStringLiteral("12345"));
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &drop);
    EXPECT_EQ(box.toPlainText(), QStringLiteral("123ab"));

    box.setPlainText(QStringLiteral("longer than five"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("longer than five"));

    box.clear();
    box.setMaxLength(0);
    QTest::keyClicks(&box, QStringLiteral("no limit at all"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("no limit at all"));
}

} // namespace
