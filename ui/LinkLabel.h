#pragma once
// A text link: blue, underlined, a pointing-hand cursor; `pressed` when the left button
// goes down on it, or when it has the focus and Space or Return is pressed.
#include <QLabel>

namespace tolvane::ui {

class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent);

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tolvane::ui
