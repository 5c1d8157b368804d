#include "toolbox/ToolboxWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

#include "toolbox/DateCalcWindow.h"
#include "toolbox/NetworkTimeSync.h"
#include "toolbox/WindowFrame.h"

namespace tolvane::toolbox {

QPixmap DrawBanner(const QSize& size) {
    QPixmap banner(size);
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(0x1c, 0x4e, 0x8a));
    sky.setColorAt(1, QColor(0x4f, 0x9d, 0xd9));
    painter.fillRect(banner.rect(), sky);

    // A clock face at the left.
    const int r = size.height() / 2 - 14;
    const QPointF centre(18 + r, size.height() / 2.0 + 2);
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawEllipse(centre, r, r);
    painter.drawLine(centre, centre + QPointF(0, -r * 0.6));
    painter.drawLine(centre, centre + QPointF(r * 0.45, r * 0.2));

    QFont font = painter.font();
    font.setPixelSize(28);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect textArea(int(centre.x() + r + 16), 0, size.width(), size.height() + 4);
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tolvane 工具箱"));
    return banner;
}

ToolboxWindow::ToolboxWindow(ToolboxContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("ToolboxWindow"));
    setWindowTitle(QStringLiteral("Tolvane工具箱"));
    SetFixedOuterSize(this, 375, 196);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("图片框1"));
    picture->setGeometry(0, -5, 375, 100);
    picture->setPixmap(DrawBanner(picture->size()));

    auto button = [this](const char* name, const QString& caption, int x) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromUtf8(name));
        b->setGeometry(x, 107, 88, 48);
        return b;
    };
    QPushButton* sync = button("按钮1", QStringLiteral("网络对时"), 16);
    QPushButton* calc = button("按钮2", QStringLiteral("日期时间计算"), 140);
    QPushButton* reminder = button("按钮3", QStringLiteral("游戏时间提醒"), 264);
    reminder->setEnabled(false);

    connect(sync, &QPushButton::clicked, this, &ToolboxWindow::runNetworkTimeSync);
    connect(calc, &QPushButton::clicked, this, &ToolboxWindow::openDateCalc);
    connect(reminder, &QPushButton::clicked, this, &ToolboxWindow::openGameReminder);
}

void ToolboxWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void ToolboxWindow::runNetworkTimeSync() {
    // The address is read for each run, so an edited config.ini counts at once.
    NetworkTimeSync sync(context_.clock, context_.http, context_.clockSetter, context_.dialogs,
                         ReadTimePageUrl(context_.runDir + QStringLiteral("/config.ini")));
    sync.run();
}

void ToolboxWindow::openDateCalc() {
    if (!dateCalc_) {
        dateCalc_ = new DateCalcWindow(context_.dialogs, this);
        dateCalc_->setAttribute(Qt::WA_DeleteOnClose);
    }
    dateCalc_->show();
    dateCalc_->setWindowState(dateCalc_->windowState() & ~Qt::WindowMinimized);
    dateCalc_->raise();
    dateCalc_->activateWindow();
}

void ToolboxWindow::openGameReminder() {
    auto* setup = new GameReminderSetupWindow(context_.clock, context_.sound, context_.globals,
                                              context_.runDir, this);
    setup->setAttribute(Qt::WA_DeleteOnClose);
    setup->show();
}

}  // namespace tolvane::toolbox
