#include "ui/EditInputHelper.h"

namespace tolvane::ui {

int EditInputHelper::FilterChar(QWidget*, QWidget*, const QStringList& forbidden, int code) const {
    for (const QString& text : forbidden) {
        // An empty text names no character, so it forbids nothing.
        if (!text.isEmpty() && text.at(0).unicode() == code) return 0;
    }
    return code;
}

}  // namespace tolvane::ui
