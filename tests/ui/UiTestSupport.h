#pragma once
// Helpers for widget tests: typing text one character at a time (Chinese included) and
// showing a window with the keyboard focus in it.
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

namespace tolvane::uitest {

// Sends one key press and release per character, each carrying that character as its text,
// to `target`.
inline void TypeText(QWidget* target, const QString& text) {
    for (QChar c : text) {
        const int key = c.isDigit() ? Qt::Key_0 + (c.unicode() - '0')
                        : c.unicode() < 128 && c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A')
                                                            : Qt::Key_unknown;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

inline void Key(QWidget* target, Qt::Key key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Shows `window` and waits until it is the active window, so focus changes raise focus events.
inline bool ShowActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Moves the keyboard focus to `w` and lets the focus events arrive.
inline void Focus(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

}  // namespace tolvane::uitest
