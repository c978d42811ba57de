#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "ZStdCtrls.h"

// A window with two numeric fields side by side, shown and active, so that
// focus moves between them as it does in the program.
struct FieldWindow {
    QWidget window;
    TZFloatEdit* field;
    TZFloatEdit* next;

    FieldWindow()
    {
        window.resize(300, 60);
        field = new TZFloatEdit(&window);
        field->move(10, 10);
        next = new TZFloatEdit(&window);
        next->move(150, 10);
    }

    bool Show()
    {
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

    // Focuses the field for real (entry text, caret) and types `keys`;
    // '<' stands for Home, '>' for End, '#' for Backspace.
    static void Type(TZFloatEdit* target, const QString& keys)
    {
        if (!target->hasFocus())
            target->setFocus(Qt::MouseFocusReason);
        for (const QChar ch : keys) {
            if (ch == u'<')
                QTest::keyClick(target, Qt::Key_Home);
            else if (ch == u'>')
                QTest::keyClick(target, Qt::Key_End);
            else if (ch == u'#')
                QTest::keyClick(target, Qt::Key_Backspace);
            else if (ch.unicode() < 128)
                QTest::keyClicks(target, QString(ch));
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }

    // Focuses the field, deletes its text with Backspace and types `keys`.
    static void Retype(TZFloatEdit* target, const QString& keys)
    {
        Type(target, QString());
        QTest::keyClick(target, Qt::Key_End);
        for (qsizetype i = target->text().size(); i > 0; --i)
            QTest::keyClick(target, Qt::Key_Backspace);
        Type(target, keys);
    }

    void Leave() { next->setFocus(Qt::MouseFocusReason); }
};

// '.' in a test text stands for the decimal separator.
inline QString WithSeparator(QString text, char separator)
{
    if (separator == ',')
        text.replace(u'.', u',');
    return text;
}
