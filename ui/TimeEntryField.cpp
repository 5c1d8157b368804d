#include "ui/TimeEntryField.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/EditInputHelper.h"
#include "ui/UpDownControl.h"

namespace tolvane::ui {
namespace {

constexpr int kUpDownWidth = 14;

// The leading decimal digits of `text` as a number held in one byte; no digits give 0.
unsigned char LeadingByte(const QString& text) {
    unsigned int n = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        n = (n * 10 + static_cast<unsigned int>(c.unicode() - '0')) & 0xFFFFu;
    }
    return static_cast<unsigned char>(n & 0xFFu);
}

const char* NameOf(TimeEntryField::Kind kind) {
    switch (kind) {
        case TimeEntryField::Kind::Hour: return "编辑框_时";
        case TimeEntryField::Kind::Minute: return "编辑框_分";
        case TimeEntryField::Kind::Second: return "编辑框_秒";
    }
    return "";
}

}  // namespace

TimeEntryField::TimeEntryField(Kind kind, QWidget* parent) : QLineEdit(parent), kind_(kind) {
    setObjectName(QString::fromUtf8(NameOf(kind)));
    setMaxLength(2);
    setAlignment(Qt::AlignCenter);
    setFrame(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    setPalette(p);
    setTextColour(QColor(kPlaceholderGrey));
    setText(placeholderText());

    upDown_ = new UpDownControl(parent);
    upDown_->setObjectName(objectName() + QStringLiteral("_调节器"));
    connect(upDown_, &UpDownControl::stepped, this, &TimeEntryField::step);

    connect(this, &QLineEdit::textChanged, this, &TimeEntryField::textChangedHandler);
    // Text that did not come through the character handler (a paste) keeps only its digits,
    // so the box never holds anything the keyboard would have refused.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        QString digits;
        for (QChar c : text)
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
        if (digits != text) setText(digits);
    });
}

int TimeEntryField::largestValue() const { return kind_ == Kind::Hour ? 23 : 59; }

QString TimeEntryField::placeholderText() const {
    switch (kind_) {
        case Kind::Hour: return QStringLiteral("时");
        case Kind::Minute: return QStringLiteral("分");
        case Kind::Second: return QStringLiteral("秒");
    }
    return {};
}

QColor TimeEntryField::textColour() const { return palette().color(QPalette::Active, QPalette::Text); }

bool TimeEntryField::showsPlaceholder() const { return textColour().rgb() == (0xFF000000u | kPlaceholderGrey); }

unsigned char TimeEntryField::value() const { return LeadingByte(text()); }

void TimeEntryField::setNumber(int number) {
    setTextColour(Qt::black);
    setText(QString::number(number));
}

void TimeEntryField::gotFocus() {
    if (showsPlaceholder())
        clear();
    else
        selectAll();
    setTextColour(Qt::black);
}

void TimeEntryField::lostFocus() {
    if (!text().isEmpty()) return;
    setText(placeholderText());
    setTextColour(QColor(kPlaceholderGrey));
}

void TimeEntryField::textChangedHandler() {
    // Writing the clamped text raises textChanged once more, which finds it in range.
    const int largest = largestValue();
    if (value() > largest) setText(QString::number(largest));
}

int TimeEntryField::acceptChar(int code) {
    if (code < 32) return code;  // control characters such as backspace
    // Integer-text input lets through the digits and the minus sign ...
    const bool integerText = (code >= '0' && code <= '9') || code == '-';
    if (!integerText) return 0;
    // ... and the box refuses the minus sign on top.
    return EditInputHelper().FilterChar(window(), this, {QStringLiteral("-")}, code);
}

void TimeEntryField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        step(event->key() == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    }
    const QString typed = event->text();
    // Editing keys whose text is a control character (Delete brings DEL, 127, on X11) are
    // keys, not typed characters: they go to the box unfiltered.
    const bool controlKey = typed.size() == 1 && typed.at(0).category() == QChar::Other_Control;
    if (typed.isEmpty() || controlKey || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QString kept;
    for (QChar c : typed)
        if (acceptChar(c.unicode()) != 0) kept += c;
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
    } else {
        event->accept();
        if (!kept.isEmpty()) insert(kept);
    }
}

void TimeEntryField::inputMethodEvent(QInputMethodEvent* event) {
    QString kept;
    for (QChar c : event->commitString())
        if (acceptChar(c.unicode()) != 0) kept += c;
    if (kept == event->commitString()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->accept();
}

void TimeEntryField::step(int delta) {
    if (!isEnabled()) return;
    // Stepping from the hint starts at 0 and leaves the box showing the stepped number in
    // black, as if the user had typed it.
    const int next = std::clamp(static_cast<int>(value()) + delta, 0, largestValue());
    setNumber(next);
}

void TimeEntryField::setTextColour(QColor colour) {
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::Text, colour);
    p.setColor(QPalette::Inactive, QPalette::Text, colour);
    setPalette(p);
}

void TimeEntryField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    gotFocus();
    // The press that brought the focus arrives next and would put the cursor where it fell.
    selectOnPress_ = event->reason() == Qt::MouseFocusReason;
}

void TimeEntryField::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    // A click into the box selects the whole value, as getting the focus by the keyboard does.
    if (selectOnPress_ && event->button() == Qt::LeftButton) selectAll();
    selectOnPress_ = false;
}

void TimeEntryField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A pop-up (the context menu) takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason) lostFocus();
}

void TimeEntryField::placeUpDown() {
    if (!upDown_) return;
    upDown_->setGeometry(x() + width(), y(), kUpDownWidth, height());
}

void TimeEntryField::moveEvent(QMoveEvent* event) {
    QLineEdit::moveEvent(event);
    placeUpDown();
}

void TimeEntryField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeUpDown();
}

void TimeEntryField::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && upDown_) upDown_->setEnabled(isEnabled());
}

void TimeEntryField::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    if (upDown_) upDown_->show();
}

void TimeEntryField::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    if (upDown_ && !isVisibleTo(parentWidget())) upDown_->hide();
}

}  // namespace tolvane::ui
