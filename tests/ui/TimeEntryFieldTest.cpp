// The hour, minute and second boxes: hint state judged by colour, the character filter, the
// clamps and the up/down control.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QVBoxLayout>

#include "UiTestSupport.h"
#include "ui/EditInputHelper.h"
#include "ui/TimeEntryField.h"
#include "ui/UpDownControl.h"

using tolvane::ui::EditInputHelper;
using tolvane::ui::TimeEntryField;
using namespace tolvane::uitest;

namespace {

const QRgb kGrey = 0xFF808080u;
const QRgb kBlack = 0xFF000000u;

// A window with the three boxes and a plain edit box to move the focus to.
struct Boxes {
    QWidget window;
    TimeEntryField* hour = new TimeEntryField(TimeEntryField::Kind::Hour, &window);
    TimeEntryField* minute = new TimeEntryField(TimeEntryField::Kind::Minute, &window);
    TimeEntryField* second = new TimeEntryField(TimeEntryField::Kind::Second, &window);
    QLineEdit* other = new QLineEdit(&window);
    Boxes() {
        window.resize(300, 60);
        hour->setGeometry(89, 16, 27, 21);
        minute->setGeometry(139, 16, 27, 21);
        second->setGeometry(190, 16, 27, 21);
        other->setGeometry(8, 40, 60, 21);
    }
    TimeEntryField* box(TimeEntryField::Kind k) {
        return k == TimeEntryField::Kind::Hour ? hour : k == TimeEntryField::Kind::Minute ? minute : second;
    }
};

TEST(TimeEntryField, StartsInGreyHintStateWithNamesAndValueZero) {
    Boxes b;
    const struct { TimeEntryField* box; const char* name; const char* hint; } cases[] = {
        {b.hour, "编辑框_时", "时"}, {b.minute, "编辑框_分", "分"}, {b.second, "编辑框_秒", "秒"}};
    for (const auto& c : cases) {
        EXPECT_EQ(b.window.findChild<TimeEntryField*>(QString::fromUtf8(c.name)), c.box);
        EXPECT_EQ(c.box->text(), QString::fromUtf8(c.hint));
        EXPECT_EQ(c.box->textColour().rgb(), kGrey);
        EXPECT_TRUE(c.box->showsPlaceholder());
        EXPECT_EQ(c.box->value(), 0);
        EXPECT_EQ(c.box->maxLength(), 2);
    }
}

TEST(TimeEntryField, FocusMovesBetweenHintAndEntryStates) {
    Boxes b;
    ASSERT_TRUE(ShowActive(&b.window));

    // Tabbing through an untouched box: black and empty while focused, the hint on leaving.
    Focus(b.hour);
    EXPECT_EQ(b.hour->text(), QString());
    EXPECT_EQ(b.hour->textColour().rgb(), kBlack);
    EXPECT_FALSE(b.hour->showsPlaceholder());
    Focus(b.other);
    EXPECT_EQ(b.hour->text(), QStringLiteral("时"));
    EXPECT_TRUE(b.hour->showsPlaceholder());
    EXPECT_EQ(b.hour->value(), 0);

    // A typed value stays black when left; coming back selects it all, so a digit replaces it.
    Focus(b.minute);
    TypeText(b.minute, QStringLiteral("42"));
    Focus(b.other);
    EXPECT_EQ(b.minute->text(), QStringLiteral("42"));
    EXPECT_EQ(b.minute->textColour().rgb(), kBlack);
    Focus(b.minute);
    EXPECT_EQ(b.minute->selectedText(), QStringLiteral("42"));
    TypeText(b.minute, QStringLiteral("7"));
    EXPECT_EQ(b.minute->text(), QStringLiteral("7"));
    EXPECT_EQ(b.minute->value(), 7);

    // Deleting everything and leaving brings the hint back.
    Key(b.minute, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(b.minute->text(), QString());
    Focus(b.other);
    EXPECT_EQ(b.minute->text(), QStringLiteral("分"));
    EXPECT_TRUE(b.minute->showsPlaceholder());

    // 0 is a value, not an empty box: it stays, in black.
    Focus(b.second);
    TypeText(b.second, QStringLiteral("0"));
    Focus(b.other);
    EXPECT_EQ(b.second->text(), QStringLiteral("0"));
    EXPECT_FALSE(b.second->showsPlaceholder());
}

TEST(TimeEntryField, HintStateIsJudgedByColourNotText) {
    Boxes b;
    // A program that writes the hint's text in black has a filled box, not an untouched one.
    b.hour->gotFocus();
    b.hour->setText(QStringLiteral("时"));
    EXPECT_FALSE(b.hour->showsPlaceholder());
    // setNumber writes unpadded text in black from the hint state.
    b.minute->setNumber(5);
    EXPECT_EQ(b.minute->text(), QStringLiteral("5"));
    EXPECT_EQ(b.minute->textColour().rgb(), kBlack);
    EXPECT_EQ(b.minute->value(), 5);
    b.second->setText(QStringLiteral("07"));
    EXPECT_EQ(b.second->value(), 7);
}

TEST(TimeEntryField, KeyboardTakesOnlyTwoDigits) {
    Boxes b;
    ASSERT_TRUE(ShowActive(&b.window));
    const struct { const char* typed; const char* left; } cases[] = {
        {"a", ""}, {"Z", ""}, {"-", ""}, {"+", ""}, {".", ""}, {" ", ""}, {"时", ""}, {"１", ""},
        {"1a2", "12"}, {"-5", "5"}, {"12", "12"}, {"123", "12"}, {"0", "0"}, {"05", "05"},
    };
    for (const auto& c : cases) {
        Focus(b.other);
        Focus(b.second);
        b.second->clear();
        TypeText(b.second, QString::fromUtf8(c.typed));
        EXPECT_EQ(b.second->text(), QString::fromUtf8(c.left)) << c.typed;
    }
}

TEST(TimeEntryField, PastedTextKeepsOnlyItsDigits) {
    Boxes b;
    ASSERT_TRUE(ShowActive(&b.window));
    Focus(b.hour);
    // An input method commit takes the same road as a paste that bypasses the keys.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("八1"));
    QApplication::sendEvent(b.hour, &commit);
    EXPECT_EQ(b.hour->text(), QStringLiteral("1"));
    b.hour->clear();
    b.hour->insert(QStringLiteral("x9"));  // programmatic insert is not filtered ...
    emit b.hour->textEdited(b.hour->text());  // ... but an edit by the user is
    EXPECT_EQ(b.hour->text(), QStringLiteral("9"));
}

TEST(TimeEntryField, ValuesAboveTheLargestAreClamped) {
    Boxes b;
    ASSERT_TRUE(ShowActive(&b.window));
    using K = TimeEntryField::Kind;
    const struct { K kind; const char* typed; const char* left; } cases[] = {
        {K::Hour, "30", "23"}, {K::Hour, "24", "23"}, {K::Hour, "99", "23"}, {K::Hour, "23", "23"},
        {K::Hour, "00", "00"}, {K::Hour, "05", "05"}, {K::Hour, "3", "3"},
        {K::Minute, "99", "59"}, {K::Minute, "60", "59"}, {K::Minute, "59", "59"}, {K::Minute, "6", "6"},
        {K::Second, "60", "59"}, {K::Second, "75", "59"}, {K::Second, "59", "59"}, {K::Second, "00", "00"},
    };
    for (const auto& c : cases) {
        TimeEntryField* box = b.box(c.kind);
        Focus(b.other);
        Focus(box);
        box->clear();
        TypeText(box, QString::fromUtf8(c.typed));
        EXPECT_EQ(box->text(), QString::fromUtf8(c.left)) << box->objectName().toStdString() << " " << c.typed;
        EXPECT_EQ(box->textColour().rgb(), kBlack);
    }
    // Text written by the program is clamped too.
    b.minute->setText(QStringLiteral("77"));
    EXPECT_EQ(b.minute->text(), QStringLiteral("59"));
}

TEST(TimeEntryField, UpDownStepsWithinRange) {
    Boxes b;
    ASSERT_TRUE(ShowActive(&b.window));
    auto* up = b.hour->upDown();
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->geometry().left(), b.hour->geometry().right() + 1);
    // From the hint, one step up gives 1 in black.
    QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(5, 3));
    EXPECT_EQ(b.hour->text(), QStringLiteral("1"));
    EXPECT_FALSE(b.hour->showsPlaceholder());
    QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(5, up->height() - 3));
    QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(5, up->height() - 3));
    EXPECT_EQ(b.hour->text(), QStringLiteral("0"));  // does not go below 0

    b.minute->setNumber(58);
    for (int i = 0; i < 3; ++i) QTest::mouseClick(b.minute->upDown(), Qt::LeftButton, {}, QPoint(5, 3));
    EXPECT_EQ(b.minute->text(), QStringLiteral("59"));  // nor above the largest value

    // The arrow keys in the box step as well.
    Focus(b.second);
    Key(b.second, Qt::Key_Up);
    Key(b.second, Qt::Key_Up);
    EXPECT_EQ(b.second->text(), QStringLiteral("2"));

    // The control follows the box.
    b.hour->setEnabled(false);
    EXPECT_FALSE(up->isEnabled());
    b.hour->hide();
    EXPECT_FALSE(up->isVisible());
}

TEST(EditInputHelper, FilterCharRefusesFirstCharactersOfForbiddenTexts) {
    EditInputHelper helper;
    const struct { QStringList list; int code; int result; } cases[] = {
        {{"-"}, '-', 0}, {{"-"}, '5', '5'}, {{"-"}, 8, 8}, {{}, '-', '-'},
        {{"ab", "-"}, 'a', 0}, {{"ab"}, 'b', 'b'}, {{""}, 0, 0}, {{""}, 'x', 'x'},
        {{QStringLiteral("时")}, QChar(u'时').unicode(), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(helper.FilterChar(nullptr, nullptr, c.list, c.code), c.result) << c.code;
}

}  // namespace

// Delete and Backspace edit the value: on X11 the Delete key carries DEL (127) as its text,
// which is a key to pass on, not a character to refuse.
TEST(TimeEntryField, DeleteAndBackspaceEditTheValue) {
    Boxes b;
    ASSERT_TRUE(ShowActive(&b.window));
    Focus(b.hour);
    TypeText(b.hour, QStringLiteral("12"));
    Key(b.hour, Qt::Key_Home);
    Key(b.hour, Qt::Key_Delete, QString(QChar(0x7F)));
    EXPECT_EQ(b.hour->text(), QStringLiteral("2"));
    Key(b.hour, Qt::Key_End);
    Key(b.hour, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(b.hour->text(), QString());
}

// Clicking into a box that holds a value selects it all, as the Tab key does, so the next digit
// replaces the value instead of being refused for the two-character limit.
TEST(TimeEntryField, ClickingIntoATypedValueSelectsItAll) {
    Boxes b;
    ASSERT_TRUE(ShowActive(&b.window));
    Focus(b.minute);
    TypeText(b.minute, QStringLiteral("42"));
    Focus(b.other);
    QTest::mouseClick(b.minute, Qt::LeftButton, {}, QPoint(20, 10));
    ASSERT_TRUE(b.minute->hasFocus());
    EXPECT_EQ(b.minute->selectedText(), QStringLiteral("42"));
    TypeText(b.minute, QStringLiteral("7"));
    EXPECT_EQ(b.minute->text(), QStringLiteral("7"));
    // A second click in the focused box places the cursor as usual.
    QTest::mouseClick(b.minute, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(b.minute->selectedText(), QString());
    // A click into an untouched box clears its hint, as before.
    QTest::mouseClick(b.second, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(b.second->text(), QString());
    EXPECT_EQ(b.second->textColour().rgb(), kBlack);
}
