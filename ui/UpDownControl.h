#pragma once
// A pair of small arrow buttons that step the number of the box they stand beside.
#include <QTimer>
#include <QWidget>

namespace tolvane::ui {

class UpDownControl final : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

signals:
    // +1 for the upper arrow, -1 for the lower one; repeats while the button is held.
    void stepped(int delta);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int pressed_ = 0;  // the delta of the arrow held down, 0 when none
    QTimer repeat_;
};

}  // namespace tolvane::ui
