#include "toolbox/IntegerTextInput.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace tolvane::toolbox {

IntegerTextInput::IntegerTextInput(QLineEdit* box, IntegerTextOptions options)
    : QObject(box), box_(box), options_(options) {}

void IntegerTextInput::Attach(QLineEdit* box, IntegerTextOptions options) {
    box->installEventFilter(new IntegerTextInput(box, options));
}

bool IntegerTextInput::accepts(const QString& typed) const {
    int printable = 0;
    for (QChar c : typed) {
        if (c.category() == QChar::Other_Control)
            continue;
        const bool digit = c >= u'0' && c <= u'9';
        const bool minus = c == u'-' && options_.allowMinus;
        if (!digit && !minus)
            return false;
        ++printable;
    }
    if (options_.maxTypedChars >= 0 && printable > 0) {
        const qsizetype kept = box_->text().size() - box_->selectedText().size();
        if (kept + printable > options_.maxTypedChars)
            return false;
    }
    return true;
}

bool IntegerTextInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_)
        return false;
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Shortcuts (Ctrl+A, Ctrl+C and the like) are no typed characters.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        if (!key->text().isEmpty() && !accepts(key->text()))
            return true;
    } else if (event->type() == QEvent::InputMethod) {
        auto* im = static_cast<QInputMethodEvent*>(event);
        if (!im->commitString().isEmpty() && !accepts(im->commitString()))
            return true;
    }
    return false;
}

}  // namespace tolvane::toolbox
