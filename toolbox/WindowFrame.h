#pragma once
// Window sizes of the toolbox are given as outer sizes (frame and caption included).
#include <QSize>
#include <QWidget>

namespace tolvane::toolbox {

// The frame a fixed-border window is assumed to have: 3 pixels at each side and at the
// bottom, a 26-pixel caption at the top. Controls are placed in the client area.
inline constexpr int kFrameSide = 3;
inline constexpr int kCaptionHeight = 26;

inline QSize ClientSizeFor(int outerWidth, int outerHeight) {
    return {outerWidth - 2 * kFrameSide, outerHeight - kCaptionHeight - kFrameSide};
}

// Gives `window` a fixed border and the client size that matches the outer size.
inline void SetFixedOuterSize(QWidget* window, int outerWidth, int outerHeight) {
    window->setFixedSize(ClientSizeFor(outerWidth, outerHeight));
    window->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
}

}  // namespace tolvane::toolbox
