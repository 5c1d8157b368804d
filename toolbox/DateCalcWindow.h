#pragma once
// The date/time calculator: the interval between two dates, and a date shifted by an
// amount of one unit.
#include <QWidget>
#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tolvane::toolbox {

class UserDialogs;

// Number boxes accept only digits, "-" and control characters. Text changes apply the
// month, day, hour and minute/second rules (a value out of range is replaced by the
// nearest bound, an emptied box stays empty) and update the two 计算 buttons, each
// enabled only while all six boxes of its row group hold text. Warnings go through
// `dialogs`. Keeps no state between calculations and saves nothing.
class DateCalcWindow final : public QWidget {
    Q_OBJECT
public:
    explicit DateCalcWindow(UserDialogs& dialogs, QWidget* parent = nullptr);

    // Enables 按钮_时间间隔计算 when the six date boxes of the interval group hold text.
    void UpdateIntervalButton();
    // Enables 按钮_时间增减计算 when the six boxes of the shift group hold text.
    void UpdateShiftButton();
    // Fills 组合框1 with the years, months and days between the two dates.
    void CalcInterval();
    // Fills 组合框2 with the chosen component of the shifted date.
    void CalcShift();

private:
    QLineEdit* addBox(QWidget* group, const char* name, int x, int y, int w, int h,
                      int maxLength);
    // The year, month and day boxes of one row, the year box at `x`, `y`.
    void addDateBoxes(QWidget* group, int x, int y, const std::array<const char*, 3>& names,
                      QLineEdit*& year, QLineEdit*& month, QLineEdit*& day);

    UserDialogs& dialogs_;
    QLineEdit* year1_;
    QLineEdit* month1_;
    QLineEdit* day1_;
    QLineEdit* year2_;
    QLineEdit* month2_;
    QLineEdit* day2_;
    QPushButton* intervalButton_;
    QComboBox* intervalResult_;
    QLineEdit* year4_;
    QLineEdit* month4_;
    QLineEdit* day4_;
    QLineEdit* hour_;
    QLineEdit* minute_;
    QLineEdit* second_;
    QPushButton* shiftButton_;
    QLineEdit* amount_;
    QComboBox* unit_;
    QComboBox* shiftResult_;
};

}  // namespace tolvane::toolbox
