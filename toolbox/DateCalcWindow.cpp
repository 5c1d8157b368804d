#include "toolbox/DateCalcWindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "toolbox/DateTime.h"
#include "toolbox/IntegerTextInput.h"
#include "toolbox/UserDialogs.h"
#include "toolbox/WindowFrame.h"

namespace tolvane::toolbox {

namespace {

const QString kReady = QStringLiteral("准备就绪");

// Each rule may write the box, which raises its text change again; by then the rule holds
// and nothing more is written.
void MonthRule(QLineEdit* box, int low, int high) {
    if (TextToInt(box->text()) <= 0 && !box->text().isEmpty())
        box->setText(QString::number(low));
    if (TextToInt(box->text()) > high)
        box->setText(QString::number(high));
}

void ClockRule(QLineEdit* box, int high) {
    if (TextToInt(box->text()) > high)
        box->setText(QString::number(high));
    if (TextToInt(box->text()) < 0)
        box->setText(QStringLiteral("00"));
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                 int h) {
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(x, y, w, h);
    return label;
}

QComboBox* AddResultBox(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(x, y, w, h);
    box->setEditable(true);
    box->addItem(kReady);
    box->setCurrentIndex(0);
    // The list holds "准备就绪" while the text field starts empty.
    box->setEditText(QString());
    return box;
}

bool AllFilled(std::initializer_list<const QLineEdit*> boxes) {
    for (const QLineEdit* box : boxes)
        if (box->text().isEmpty())
            return false;
    return true;
}

}  // namespace

QLineEdit* DateCalcWindow::addBox(QWidget* group, const char* name, int x, int y, int w,
                                  int h, int maxLength) {
    auto* box = new QLineEdit(group);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(x, y, w, h);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    IntegerTextInput::Attach(box);
    return box;
}

void DateCalcWindow::addDateBoxes(QWidget* group, int x, int y,
                                  const std::array<const char*, 3>& names, QLineEdit*& year,
                                  QLineEdit*& month, QLineEdit*& day) {
    // Offsets from the year box; each box is followed by its unit word.
    const struct {
        QLineEdit*& box;
        int dx;
        int width;
        int maxLength;
        const char* unit;
    } parts[] = {{year, 0, 38, 4, "年"}, {month, 60, 25, 2, "月"}, {day, 107, 25, 2, "日"}};
    for (size_t i = 0; i < 3; ++i) {
        const auto& p = parts[i];
        p.box = addBox(group, names[i], x + p.dx, y, p.width, 21, p.maxLength);
        AddLabel(group, nullptr, QString::fromUtf8(p.unit), x + p.dx + p.width + 3, y + 2, 16,
                 16);
    }
}

DateCalcWindow::DateCalcWindow(UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setObjectName(QStringLiteral("DateCalcWindow"));
    setWindowTitle(QStringLiteral("日期时间计算器"));
    SetFixedOuterSize(this, 394, 160);

    auto* group1 = new QGroupBox(QStringLiteral("时间间隔计算"), this);
    group1->setObjectName(QStringLiteral("分组框1"));
    group1->setGeometry(8, 8, 293, 113);
    AddLabel(group1, "标签8", QStringLiteral("被减去的时间："), 9, 23, 82, 16);
    addDateBoxes(group1, 95, 21, {"编辑框_年份1", "编辑框_月份1", "编辑框_日1"}, year1_, month1_,
                 day1_);
    AddLabel(group1, "标签9", QStringLiteral("要减去的时间："), 9, 51, 82, 16);
    addDateBoxes(group1, 95, 49, {"编辑框_年份2", "编辑框_月份2", "编辑框_日2"}, year2_, month2_,
                 day2_);
    intervalButton_ = new QPushButton(QStringLiteral("计算"), group1);
    intervalButton_->setObjectName(QStringLiteral("按钮_时间间隔计算"));
    intervalButton_->setGeometry(261, 23, 24, 46);
    intervalButton_->setEnabled(false);
    AddLabel(group1, "标签10", QStringLiteral("计算结果："), 9, 81, 58, 16);
    intervalResult_ = AddResultBox(group1, "组合框1", 72, 79, 215, 20);

    auto* group2 = new QGroupBox(QStringLiteral("时间增减计算(功能开发中)"), this);
    group2->setObjectName(QStringLiteral("分组框2"));
    group2->setGeometry(8, 130, 373, 113);
    AddLabel(group2, "标签13", QStringLiteral("时间1："), 9, 23, 42, 16);
    addDateBoxes(group2, 53, 21, {"编辑框_年份4", "编辑框_月份4", "编辑框_日4"}, year4_, month4_,
                 day4_);
    hour_ = addBox(group2, "编辑框h", 216, 21, 22, 8, 0);
    AddLabel(group2, nullptr, QStringLiteral("："), 240, 23, 10, 16);
    minute_ = addBox(group2, "编辑框m", 251, 21, 22, 8, 0);
    AddLabel(group2, nullptr, QStringLiteral("："), 276, 23, 10, 16);
    second_ = addBox(group2, "编辑框s", 288, 21, 22, 8, 0);
    for (QLineEdit* box : {hour_, minute_, second_})
        box->setAlignment(Qt::AlignCenter);
    shiftButton_ = new QPushButton(QStringLiteral("计算"), group2);
    shiftButton_->setObjectName(QStringLiteral("按钮_时间增减计算"));
    shiftButton_->setGeometry(341, 21, 24, 46);
    shiftButton_->setEnabled(false);
    AddLabel(group2, "标签12", QStringLiteral("增减的时间："), 9, 51, 69, 16);
    amount_ = addBox(group2, "编辑框_增减的时间", 81, 49, 124, 21, 0);
    unit_ = new QComboBox(group2);
    unit_->setObjectName(QStringLiteral("组合框3"));
    unit_->setGeometry(214, 49, 96, 25);
    unit_->addItems({QStringLiteral("(请选择单位)"), QStringLiteral("年"), QStringLiteral("月"),
                     QStringLiteral("日"), QStringLiteral("时"), QStringLiteral("分"),
                     QStringLiteral("秒")});
    unit_->setCurrentIndex(0);
    AddLabel(group2, "标签11", QStringLiteral("计算结果："), 9, 81, 58, 16);
    shiftResult_ = AddResultBox(group2, "组合框2", 81, 79, 286, 25);

    auto* note = AddLabel(this, "标签2",
                          QStringLiteral("说明：所有内容都要填写正确，否则不能返回正确的计算结果。"),
                          309, 14, 75, 88);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto onChange = [this](QLineEdit* box, auto rule, auto update) {
        connect(box, &QLineEdit::textChanged, this, [this, box, rule, update] {
            rule(box);
            (this->*update)();
        });
    };
    auto none = [](QLineEdit*) {};
    auto month = [](QLineEdit* b) { MonthRule(b, 1, 12); };
    auto day = [](QLineEdit* b) { MonthRule(b, 1, 31); };
    auto hour = [](QLineEdit* b) { ClockRule(b, 23); };
    auto minsec = [](QLineEdit* b) { ClockRule(b, 59); };
    const auto interval = &DateCalcWindow::UpdateIntervalButton;
    const auto shift = &DateCalcWindow::UpdateShiftButton;
    onChange(year1_, none, interval);
    onChange(year2_, none, interval);
    onChange(month1_, month, interval);
    onChange(month2_, month, interval);
    onChange(day1_, day, interval);
    onChange(day2_, day, interval);
    onChange(year4_, none, shift);
    onChange(month4_, month, shift);
    onChange(day4_, day, shift);
    onChange(hour_, hour, shift);
    onChange(minute_, minsec, shift);
    onChange(second_, minsec, shift);
    connect(intervalButton_, &QPushButton::clicked, this, &DateCalcWindow::CalcInterval);
    connect(shiftButton_, &QPushButton::clicked, this, &DateCalcWindow::CalcShift);
}

void DateCalcWindow::UpdateIntervalButton() {
    intervalButton_->setEnabled(AllFilled({year1_, year2_, month1_, month2_, day1_, day2_}));
}

void DateCalcWindow::UpdateShiftButton() {
    shiftButton_->setEnabled(AllFilled({year4_, month4_, day4_, hour_, minute_, second_}));
}

void DateCalcWindow::CalcInterval() {
    if (TextToInt(year1_->text()) < kMinYear || TextToInt(year2_->text()) < kMinYear)
        dialogs_.message(QStringLiteral("年份中的数字不能小于100！"), windowTitle(),
                         DialogButtons::Ok, DialogIcon::Stop);
    const QString dash = QStringLiteral("-");
    const DateTime a =
        ParseDateTime(QStringList{year1_->text(), month1_->text(), day1_->text()}.join(dash));
    const DateTime b =
        ParseDateTime(QStringList{year2_->text(), month2_->text(), day2_->text()}.join(dash));
    // Whole dates, so every difference is a whole number.
    auto number = [&](DateUnit unit) {
        return QString::number(static_cast<qint64>(DateTimeDiff(a, b, unit)));
    };
    intervalResult_->clear();
    intervalResult_->addItem(QStringLiteral("按年：间隔") + number(DateUnit::Year) +
                             QStringLiteral("年"));
    intervalResult_->addItem(QStringLiteral("按月：间隔") + number(DateUnit::Month) +
                             QStringLiteral("月"));
    intervalResult_->addItem(QStringLiteral("按日：间隔") + number(DateUnit::Day) +
                             QStringLiteral("日"));
    intervalResult_->setCurrentIndex(0);
}

void DateCalcWindow::CalcShift() {
    if (TextToInt(year4_->text()) < kMinYear)
        dialogs_.message(QStringLiteral("年份中的数字不能小于100！"), windowTitle(),
                         DialogButtons::Ok, DialogIcon::Stop);
    const DateTime value = ParseDateTime(QStringList{year4_->text(), month4_->text(),
                                                     day4_->text(), hour_->text(),
                                                     minute_->text(), second_->text()}
                                             .join(QStringLiteral("-")));
    const int n = TextToInt(amount_->text());
    int result = 0;
    switch (unit_->currentIndex()) {
    case 1:
        result = AddToDateTime(value, DateUnit::Year, n).year;
        break;
    case 2:
        result = AddToDateTime(value, DateUnit::Month, n).month;
        break;
    case 3:
        result = AddToDateTime(value, DateUnit::Day, n).day;
        break;
    case 4:
        result = AddToDateTime(value, DateUnit::Hour, n).hour;
        break;
    case 5:
        result = AddToDateTime(value, DateUnit::Minute, n).minute;
        break;
    case 6:
        result = AddToDateTime(value, DateUnit::Second, n).second;
        break;
    default:
        break;  // no unit chosen: no shift, result 0
    }
    shiftResult_->clear();
    shiftResult_->addItem(QString::number(result));
    shiftResult_->setCurrentIndex(0);
}

}  // namespace tolvane::toolbox
