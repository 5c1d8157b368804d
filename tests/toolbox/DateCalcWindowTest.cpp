// The date/time calculator: box rules, button states and the two calculations.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "FakeUserDialogs.h"
#include "toolbox/DateCalcWindow.h"

namespace tolvane::toolbox {
namespace {

using testing::FakeUserDialogs;

class DateCalcWindowTest : public ::testing::Test {
protected:
    QLineEdit* box(const char* name) {
        auto* b = window.findChild<QLineEdit*>(QString::fromUtf8(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    QPushButton* button(const char* name) {
        auto* b = window.findChild<QPushButton*>(QString::fromUtf8(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    QComboBox* combo(const char* name) {
        auto* c = window.findChild<QComboBox*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void type(const char* name, const char* keys) {
        QLineEdit* b = box(name);
        b->setFocus();
        QTest::keyClicks(b, QString::fromLatin1(keys));
    }
    void fill(std::initializer_list<std::pair<const char*, const char*>> texts) {
        for (const auto& [name, text] : texts)
            box(name)->setText(QString::fromUtf8(text));
    }
    QStringList items(const char* name) {
        QStringList out;
        QComboBox* c = combo(name);
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }

    FakeUserDialogs dialogs;
    DateCalcWindow window{dialogs};
};

TEST_F(DateCalcWindowTest, StartsEmptyWithBothButtonsDisabled) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("日期时间计算器"));
    EXPECT_FALSE(button("按钮_时间间隔计算")->isEnabled());
    EXPECT_FALSE(button("按钮_时间增减计算")->isEnabled());
    for (const char* name : {"组合框1", "组合框2"}) {
        EXPECT_TRUE(combo(name)->isEditable());
        EXPECT_EQ(combo(name)->currentText(), QString()) << name;
        EXPECT_EQ(items(name), QStringList{QStringLiteral("准备就绪")}) << name;
    }
    EXPECT_FALSE(combo("组合框3")->isEditable());
    EXPECT_EQ(combo("组合框3")->currentText(), QStringLiteral("(请选择单位)"));
    EXPECT_EQ(items("组合框3").size(), 7);
    EXPECT_EQ(window.findChild<QGroupBox*>(QStringLiteral("分组框2"))->title(),
              QStringLiteral("时间增减计算(功能开发中)"));
    EXPECT_EQ(box("编辑框_年份1")->maxLength(), 4);
    EXPECT_EQ(box("编辑框_日2")->maxLength(), 2);
}

TEST_F(DateCalcWindowTest, DateBoxesStandAtTheirPlacesWithTheirLimits) {
    const struct {
        const char* name;
        QRect place;
        int maxLength;
    } cases[] = {
        {"编辑框_年份1", {95, 21, 38, 21}, 4},  {"编辑框_月份1", {155, 21, 25, 21}, 2},
        {"编辑框_日1", {202, 21, 25, 21}, 2},   {"编辑框_年份2", {95, 49, 38, 21}, 4},
        {"编辑框_月份2", {155, 49, 25, 21}, 2}, {"编辑框_日2", {202, 49, 25, 21}, 2},
        {"编辑框_年份4", {53, 21, 38, 21}, 4},  {"编辑框_月份4", {113, 21, 25, 21}, 2},
        {"编辑框_日4", {160, 21, 25, 21}, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(box(c.name)->geometry(), c.place) << c.name;
        EXPECT_EQ(box(c.name)->maxLength(), c.maxLength) << c.name;
    }
    EXPECT_EQ(box("编辑框_年份1")->parentWidget()->objectName(), QStringLiteral("分组框1"));
    EXPECT_EQ(box("编辑框_日4")->parentWidget()->objectName(), QStringLiteral("分组框2"));
}

TEST_F(DateCalcWindowTest, BoxRulesHoldValuesInRange) {
    const struct {
        const char* box;
        const char* typed;
        const char* expected;
    } cases[] = {
        {"编辑框_月份1", "0", "1"},   {"编辑框_月份2", "13", "12"}, {"编辑框_月份4", "-", "1"},
        {"编辑框_月份1", "9", "9"}  , {"编辑框_日1", "0", "1"},     {"编辑框_日2", "45", "31"},
        {"编辑框_日4", "31", "31"},   {"编辑框h", "99", "23"},      {"编辑框h", "-5", "00"},
        {"编辑框h", "-", "-"},        {"编辑框m", "99", "59"},      {"编辑框s", "60", "59"},
        {"编辑框s", "-7", "00"},      {"编辑框m", "5", "5"},
        // Year boxes and the amount have no rule.
        {"编辑框_年份1", "0", "0"},   {"编辑框_增减的时间", "-40", "-40"},
    };
    for (const auto& c : cases) {
        box(c.box)->clear();
        type(c.box, c.typed);
        EXPECT_EQ(box(c.box)->text(), QString::fromLatin1(c.expected))
            << c.box << " typed " << c.typed;
    }
}

TEST_F(DateCalcWindowTest, NumberBoxesDiscardOtherCharacters) {
    type("编辑框_年份1", "2a0x1.0");
    EXPECT_EQ(box("编辑框_年份1")->text(), QStringLiteral("2010"));
    QTest::keyClick(box("编辑框_年份1"), Qt::Key_Backspace);
    EXPECT_EQ(box("编辑框_年份1")->text(), QStringLiteral("201"));

    // Text from an input method is held to the same rule.
    QLineEdit* amount = box("编辑框_增减的时间");
    amount->setFocus();
    for (const QString& commit : {QStringLiteral("年"), QStringLiteral("-3"), QStringLiteral("十")}) {
        QInputMethodEvent event;
        event.setCommitString(commit);
        QApplication::sendEvent(amount, &event);
    }
    EXPECT_EQ(amount->text(), QStringLiteral("-3"));
}

TEST_F(DateCalcWindowTest, ButtonsFollowTheirSixBoxes) {
    QPushButton* interval = button("按钮_时间间隔计算");
    fill({{"编辑框_年份1", "2010"}, {"编辑框_月份1", "1"}, {"编辑框_日1", "31"},
          {"编辑框_年份2", "2010"}, {"编辑框_月份2", "1"}});
    EXPECT_FALSE(interval->isEnabled());
    type("编辑框_日2", "5");
    EXPECT_TRUE(interval->isEnabled());
    // An emptied month box stays empty and disables the button until it holds text again.
    box("编辑框_月份1")->setFocus();
    box("编辑框_月份1")->selectAll();
    QTest::keyClick(box("编辑框_月份1"), Qt::Key_Backspace);
    EXPECT_EQ(box("编辑框_月份1")->text(), QString());
    EXPECT_FALSE(interval->isEnabled());
    type("编辑框_月份1", "2");
    EXPECT_TRUE(interval->isEnabled());

    QPushButton* shift = button("按钮_时间增减计算");
    fill({{"编辑框_年份4", "2010"}, {"编辑框_月份4", "1"}, {"编辑框_日4", "31"},
          {"编辑框h", "0"}, {"编辑框m", "0"}});
    EXPECT_FALSE(shift->isEnabled());
    type("编辑框s", "0");
    EXPECT_TRUE(shift->isEnabled());
    box("编辑框h")->clear();
    EXPECT_EQ(box("编辑框h")->text(), QString());
    EXPECT_FALSE(shift->isEnabled());
    // The amount and the unit are not looked at.
    box("编辑框h")->setText(QStringLiteral("1"));
    EXPECT_TRUE(shift->isEnabled());
    EXPECT_TRUE(box("编辑框_增减的时间")->text().isEmpty());
}

int DaysBetween(QDate a, QDate b) { return static_cast<int>(b.daysTo(a)); }

TEST_F(DateCalcWindowTest, IntervalListsYearsMonthsAndDays) {
    const int invalidVs2010 = DaysBetween(QDate(100, 1, 1), QDate(2010, 1, 1));
    const struct {
        const char* row1[3];
        const char* row2[3];
        QStringList expected;
        size_t warnings;
    } cases[] = {
        {{"2011", "1", "31"}, {"2010", "12", "31"},
         {"按年：间隔1年", "按月：间隔1月", "按日：间隔31日"}, 0},
        {{"2010", "8", "1"}, {"2010", "8", "20"},
         {"按年：间隔0年", "按月：间隔0月", "按日：间隔-19日"}, 0},
        {{"2010", "1", "1"}, {"2012", "3", "1"},
         {"按年：间隔-2年", "按月：间隔-26月", "按日：间隔-790日"}, 0},
        {{"2008", "2", "29"}, {"2008", "2", "29"},
         {"按年：间隔0年", "按月：间隔0月", "按日：间隔0日"}, 0},
        // 30 February is no date: the row counts as 1 January 100.
        {{"2010", "2", "30"}, {"2010", "1", "1"},
         {"按年：间隔-1910年", "按月：间隔-22920月",
          QStringLiteral("按日：间隔%1日").arg(invalidVs2010)}, 0},
        {{"2010", "1", "1"}, {"2010", "2", "30"},
         {"按年：间隔1910年", "按月：间隔22920月",
          QStringLiteral("按日：间隔%1日").arg(-invalidVs2010)}, 0},
        // Year 99: one warning, then the same as against 1 January 100.
        {{"99", "1", "1"}, {"2010", "1", "1"},
         {"按年：间隔-1910年", "按月：间隔-22920月",
          QStringLiteral("按日：间隔%1日").arg(invalidVs2010)}, 1},
        {{"99", "1", "1"}, {"50", "1", "1"}, {"按年：间隔0年", "按月：间隔0月", "按日：间隔0日"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.join(' ').toStdString());
        dialogs.shown.clear();
        fill({{"编辑框_年份1", c.row1[0]}, {"编辑框_月份1", c.row1[1]}, {"编辑框_日1", c.row1[2]},
              {"编辑框_年份2", c.row2[0]}, {"编辑框_月份2", c.row2[1]}, {"编辑框_日2", c.row2[2]}});
        ASSERT_TRUE(button("按钮_时间间隔计算")->isEnabled());
        button("按钮_时间间隔计算")->click();
        EXPECT_EQ(items("组合框1"), c.expected);
        EXPECT_EQ(combo("组合框1")->currentText(), c.expected[0]);
        ASSERT_EQ(dialogs.shown.size(), c.warnings);
        if (c.warnings) {
            EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("年份中的数字不能小于100！"));
            EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("日期时间计算器"));
            EXPECT_EQ(dialogs.shown[0].icon, DialogIcon::Stop);
            EXPECT_EQ(dialogs.shown[0].buttons, DialogButtons::Ok);
        }
    }
}

TEST_F(DateCalcWindowTest, ShiftShowsTheChosenComponent) {
    const struct {
        const char* date[6];
        const char* amount;
        const char* unit;
        const char* shown;
    } cases[] = {
        {{"2010", "1", "31", "0", "0", "0"}, "1", "月", "2"},   // 28 February 2010
        {{"2010", "1", "31", "0", "0", "0"}, "1", "日", "1"},   // 1 February
        {{"2010", "1", "31", "0", "0", "0"}, "1", "(请选择单位)", "0"},
        {{"2008", "2", "29", "0", "0", "0"}, "1", "年", "2009"},
        {{"2010", "3", "1", "0", "0", "0"}, "-1", "日", "28"},
        {{"2010", "12", "31", "23", "59", "30"}, "45", "秒", "15"},
        {{"2010", "12", "31", "23", "59", "30"}, "1", "分", "0"},
        {{"2010", "12", "31", "23", "0", "0"}, "-24", "时", "23"},
        {{"2010", "1", "15", "0", "0", "0"}, "-13", "月", "12"},
        {{"2010", "1", "15", "0", "0", "0"}, "", "月", "1"},      // no amount: no shift
        {{"2010", "2", "30", "0", "0", "0"}, "5", "年", "105"},   // rejected date: year 100
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date[0]) + "-" + c.date[1] + "-" + c.date[2] + " " + c.amount);
        fill({{"编辑框_年份4", c.date[0]}, {"编辑框_月份4", c.date[1]}, {"编辑框_日4", c.date[2]},
              {"编辑框h", c.date[3]}, {"编辑框m", c.date[4]}, {"编辑框s", c.date[5]},
              {"编辑框_增减的时间", c.amount}});
        combo("组合框3")->setCurrentText(QString::fromUtf8(c.unit));
        ASSERT_TRUE(button("按钮_时间增减计算")->isEnabled());
        button("按钮_时间增减计算")->click();
        EXPECT_EQ(items("组合框2"), QStringList{QString::fromLatin1(c.shown)});
        EXPECT_EQ(combo("组合框2")->currentText(), QString::fromLatin1(c.shown));
    }
    EXPECT_TRUE(dialogs.shown.empty());

    fill({{"编辑框_年份4", "99"}});
    button("按钮_时间增减计算")->click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("年份中的数字不能小于100！"));
}

}  // namespace
}  // namespace tolvane::toolbox
