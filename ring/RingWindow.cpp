#include "ring/RingWindow.h"

#include "platform/LeadingInt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "core/ClockHelper.h"
#include "ring/RingPlayback.h"

namespace tolvane {

namespace {

const QString kSeparator = QStringLiteral(":");

// 宋体 first; on Linux a Ming (Song) face of the same serif kind, else any serif.
QFont SongFont(int pixels, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("AR PL UMing TW"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Source Han Serif SC"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Shows `text` whole in the prompt label: at the full size when it fits, else at the largest
// size that fits one line, else on two lines; only a text too long even for that is cut, and
// then the tooltip holds all of it.
void ShowPrompt(QLabel* label, const QString& text) {
    QFont font = label->font();
    const int width = label->width();
    auto use = [&](int pixels, bool wrap, const QString& shown) {
        font.setPixelSize(pixels);
        label->setFont(font);
        label->setWordWrap(wrap);
        label->setText(shown);
        label->setToolTip(shown == text ? QString() : text);
    };
    for (int pixels = font.pixelSize(); pixels >= 14; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= width) return use(pixels, false, text);
    }
    for (int pixels = 14; pixels >= 11; --pixels) {
        font.setPixelSize(pixels);
        const QRect r = QFontMetrics(font).boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap, text);
        if (r.width() <= width && r.height() <= label->height()) return use(pixels, true, text);
    }
    font.setPixelSize(11);
    use(11, false, QFontMetrics(font).elidedText(text, Qt::ElideRight, width));
}

// The shake: three passes of eight steps; each step moves the window by its offset.
constexpr int kShakeSteps = 24;
constexpr QPoint kShakeOffsets[8] = {{-2, 2}, {-2, 2}, {-2, -2}, {-2, -2}, {2, -2}, {2, -2}, {2, 2}, {2, 2}};
constexpr int kShakeSleepMs = 20;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect place, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(place);
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    return label;
}

}  // namespace

RingWindow::RingWindow(const RingWindowContext& context, const PendingAlarm& alarm, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint),
      context_(context) {
    setObjectName(QStringLiteral("RingWindow"));
    setWindowTitle(QStringLiteral("Tolvane 响铃提示"));
    setWindowIcon(QIcon(QStringLiteral(":/tolvane/icon24.png")));
    BuildControls();

    // 1. The designed height less 44: the 延迟 group lies below the visible area.
    resize(kDesignedWidth, kDesignedHeight);
    setFixedSize(kDesignedWidth, kDesignedHeight - kHeightCut);
    // 2. The values start afresh: this window's playback worker is made in StartPlayback.
    // 3. Ring time.
    ringTime_->setText(ClockHelper::TripleText(alarm.time, kSeparator, true));
    // 4 and 5. Prompt, and the settling of the fired task (a once task is deleted, a
    // countdown ends). The task is found by its stable key, so a purge since the scan cannot
    // make this show or delete a neighbour.
    if (context_.scheduler) {
        const FiredTask fired = context_.scheduler->SettleFiredTask(alarm);
        ShowPrompt(prompt_, fired.hasPrompt ? fired.prompt : QStringLiteral("时间到了"));
        if (context_.refreshTaskList) context_.refreshTaskList();
        context_.scheduler->PurgeDeletedTasksAsync();
    }
    // 6. Current time, refreshed by 时钟1 every 550 ms.
    RefreshNow();
    clockTimer_->start();
}

RingWindow::~RingWindow() { Finish(); }

void RingWindow::BuildControls() {
    const QFont big = SongFont(24, true);
    const QFont small = SongFont(12, false);
    const QFont caption = SongFont(11, false);  // "响铃时间：" fits its 56 pixels

    prompt_ = MakeLabel(this, "透明标签_提示内容", QString(), QRect(0, 5, 300, 30), big);
    prompt_->setAlignment(Qt::AlignCenter);
    MakeLabel(this, "透明标签1", QStringLiteral("响铃时间："), QRect(96, 44, 56, 14), caption);
    ringTime_ = MakeLabel(this, "透明标签_响铃时间", QStringLiteral("00:00:00"), QRect(161, 44, 78, 14), small);
    MakeLabel(this, "透明标签2", QStringLiteral("现在时间："), QRect(96, 63, 56, 14), caption);
    nowTime_ = MakeLabel(this, "透明标签_现在时间", QStringLiteral("00:00:00"), QRect(161, 63, 78, 14), small);

    ok_ = new QPushButton(QStringLiteral("知道了"), this);
    ok_->setObjectName(QStringLiteral("按钮_OK"));
    ok_->setGeometry(107, 144, 62, 24);
    ok_->setFont(small);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &RingWindow::Dismiss);

    onTop_ = new QCheckBox(QStringLiteral("窗口总在最前"), this);
    onTop_->setObjectName(QStringLiteral("选择框"));
    onTop_->setGeometry(8, 198, 92, 14);
    onTop_->setFont(caption);
    onTop_->setChecked(true);
    onTop_->setAttribute(Qt::WA_TranslucentBackground);
    connect(onTop_, &QCheckBox::clicked, this, [this](bool on) { SetAlwaysOnTop(on); });

    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("时钟1"));
    clockTimer_->setInterval(550);
    connect(clockTimer_, &QTimer::timeout, this, &RingWindow::RefreshNow);

    shakeTimer_ = new QTimer(this);
    shakeTimer_->setInterval(kShakeSleepMs);
    connect(shakeTimer_, &QTimer::timeout, this, &RingWindow::ShakeStep);

    // The delayed-reminder group: laid out, cut off by the lower edge, read by nothing.
    auto* group = new QGroupBox(QStringLiteral("延迟"), this);
    group->setObjectName(QStringLiteral("分组框1"));
    group->setGeometry(5, 220, 291, 43);
    group->setFont(small);
    auto* l5 = new QLabel(QStringLiteral("不，我要"), group);
    l5->setObjectName(QStringLiteral("标签5"));
    l5->setGeometry(8, 16, 51, 21);
    auto* minutes = new QLineEdit(group);
    minutes->setObjectName(QStringLiteral("编辑框m"));
    minutes->setGeometry(64, 16, 22, 21);
    auto* l1 = new QLabel(QStringLiteral("分钟 后再提醒"), group);
    l1->setObjectName(QStringLiteral("标签1"));
    l1->setGeometry(94, 16, 77, 21);
    auto* delay = new QPushButton(QStringLiteral("确定"), group);  // no click handler
    delay->setObjectName(QStringLiteral("按钮_延时"));
    delay->setGeometry(232, 13, 49, 23);
}

void RingWindow::paintEvent(QPaintEvent*) {
    static const QPixmap background(QStringLiteral(":/tolvane/ring.png"));
    QPainter painter(this);
    painter.drawPixmap(0, 0, background);
}

void RingWindow::RefreshNow() {
    if (!context_.clock) return;
    nowTime_->setText(ClockHelper(*context_.clock).NowText(kSeparator, true));
}

void RingWindow::Present() {
    // 7. Show, in the middle of the screen and above all others.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
    // 8. The shake, before any sound.
    if (context_.windowShake && context_.windowShake()) {
        ok_->setEnabled(false);
        shakeStep_ = 0;
        shakeTimer_->start();
        ShakeStep();
        return;
    }
    // 9. The playback.
    StartPlayback();
}

void RingWindow::ShakeStep() {
    if (shakeStep_ < 0) return;
    if (shakeStep_ == kShakeSteps) {  // the last move has had its 20 ms
        shakeTimer_->stop();
        shakeStep_ = -1;
        ok_->setEnabled(true);
        StartPlayback();
        return;
    }
    move(pos() + kShakeOffsets[shakeStep_ % 8]);
    ++shakeStep_;
}

void RingWindow::StartPlayback() {
    if (finished_ || playback_ || !context_.makePlayer) return;
    QList<AlarmSound> sounds;
    const QString flag = context_.loadSounds ? context_.loadSounds(sounds) : QString();
    player_ = context_.makePlayer();
    if (!player_) return;
    playback_ = std::make_unique<RingPlayback>(*player_, context_.poll);
    playback_->Start(std::move(sounds), static_cast<uint8_t>(platform::ParseLeadingInt(flag)));
}

void RingWindow::SetAlwaysOnTop(bool on) {
    const Qt::WindowFlags flags = on ? windowFlags() | Qt::WindowStaysOnTopHint
                                     : windowFlags() & ~Qt::WindowFlags(Qt::WindowStaysOnTopHint);
    if (QWindow* window = windowHandle()) {
        // Changing the native window's flags in place keeps it shown where it is.
        overrideWindowFlags(flags);
        window->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

void RingWindow::Dismiss() {
    Finish();
    deleteLater();
}

void RingWindow::Finish() {
    if (finished_) return;
    finished_ = true;
    // 1. Hide; 2. stopPlayback = 4; 3. wait for the worker; 4. close the player;
    // 5. purge on a worker of its own.
    hide();
    clockTimer_->stop();
    shakeTimer_->stop();
    shakeStep_ = -1;
    if (playback_) {
        playback_->RequestStop();
        playback_->Join();
    }
    if (player_) player_->Close();
    if (context_.scheduler) context_.scheduler->PurgeDeletedTasksAsync();
}

void RingWindow::closeEvent(QCloseEvent* event) {
    // Only "知道了" closes the window; the title-bar button and the system close do not.
    event->ignore();
}

}  // namespace tolvane
