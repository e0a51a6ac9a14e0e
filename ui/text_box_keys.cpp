#include "ui/text_box_keys.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace vornik {
namespace {

class CtrlTabTypesTab : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab || key->modifiers() != Qt::ControlModifier)
            return false;
        auto* box = qobject_cast<QPlainTextEdit*>(watched);
        if (!box || box->isReadOnly())
            return false;
        // Committed like typed text, so a box that limits its length
        // counts the tab as well.
        QInputMethodEvent tab;
        tab.setCommitString(QStringLiteral("\t"));
        QCoreApplication::sendEvent(box, &tab);
        return true;
    }
};

class SelectOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason) {
                if (auto* box = qobject_cast<QLineEdit*>(watched))
                    box->selectAll();
            }
        }
        return false;
    }
};

} // namespace

void letTabMoveFocus(QPlainTextEdit* box)
{
    box->setTabChangesFocus(true);
    box->installEventFilter(new CtrlTabTypesTab(box));
}

void selectTextOnFocus(QLineEdit* box)
{
    box->installEventFilter(new SelectOnFocus(box));
}

} // namespace vornik
