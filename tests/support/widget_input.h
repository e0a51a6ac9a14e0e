#pragma once
// Typing into and reading back Qt widgets in tests, as a user would see them.

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QStringList>
#include <QWidget>

namespace vornik::test {

// Each character as a key press and release, so that the widget's own key
// handling (and any filter on it) runs.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// The texts of a list's rows, top to bottom.
inline QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace vornik::test
