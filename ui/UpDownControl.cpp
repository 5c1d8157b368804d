#include "ui/UpDownControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace tolvane::ui {

UpDownControl::UpDownControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);  // stepping leaves the keyboard focus where it was
    connect(&repeat_, &QTimer::timeout, this, [this] {
        // The first repeat waits longer, then the arrows step at a steady pace.
        if (repeat_.interval() != 80) repeat_.setInterval(80);
        if (pressed_ != 0) emit stepped(pressed_);
    });
}

void UpDownControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        const bool down = pressed_ == (i == 0 ? 1 : -1);
        button.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[i].adjusted(3, 2, -3, -2);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &arrow, &painter, this);
    }
}

void UpDownControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) return;
    pressed_ = event->position().y() < height() / 2.0 ? 1 : -1;
    update();
    emit stepped(pressed_);
    repeat_.start(400);
}

void UpDownControl::mouseReleaseEvent(QMouseEvent*) {
    pressed_ = 0;
    repeat_.stop();
    update();
}

}  // namespace tolvane::ui
