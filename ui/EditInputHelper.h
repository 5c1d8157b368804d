#pragma once
// Character filtering for entry boxes.
//
// Stateless: a box's character handler makes one, asks it about the typed character and
// drops it; nothing is kept between keystrokes.
#include <QStringList>

class QWidget;

namespace tolvane::ui {

class EditInputHelper {
public:
    // Returns 0 (discard the character) when `forbidden` is not empty and `code` equals the
    // code of the first character of one of its texts; otherwise returns `code` unchanged.
    // `window` and `control` name the asker and are not looked at.
    int FilterChar(QWidget* window, QWidget* control, const QStringList& forbidden, int code) const;
};

}  // namespace tolvane::ui
