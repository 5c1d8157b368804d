#pragma once
// The hour, minute or second entry box of a ring time.
//
// An untouched box shows its kind's hint ("时", "分", "秒") in grey 0x808080; the grey text
// colour is the only mark of that state, and owners judge a box by showsPlaceholder(), never
// by its text. Getting the focus clears the hint and turns the text black; losing it with
// empty text brings the hint back. The box takes only the digits 0 to 9 (and control keys),
// at most two of them, and clamps its number to 23 (hour) or 59 (minute, second) after any
// change of text. An up/down control beside the box steps the number within 0 to its
// largest value.
//
// User-interface thread only.
#include <QLineEdit>

namespace tolvane::ui {

class UpDownControl;

class TimeEntryField final : public QLineEdit {
    Q_OBJECT
public:
    enum class Kind { Hour, Minute, Second };

    static constexpr QRgb kPlaceholderGrey = 0x808080;

    // Sets the object name (编辑框_时, 编辑框_分 or 编辑框_秒) and the hint in grey. The
    // up/down control is made as a sibling in `parent` and follows the box when it moves,
    // hides or is disabled.
    TimeEntryField(Kind kind, QWidget* parent);

    Kind kind() const { return kind_; }
    int largestValue() const;
    QString placeholderText() const;
    UpDownControl* upDown() const { return upDown_; }

    // True exactly when the text colour is the hint grey.
    bool showsPlaceholder() const;
    // The text as a number held in one byte; the hint and empty text give 0, "07" gives 7.
    unsigned char value() const;
    // Writes `number` as plain decimal text ("7", not "07") in black.
    void setNumber(int number);
    // What getting the focus does: clears the hint (or selects the whole text) and turns the
    // text black. Callable by the owning window.
    void gotFocus();

    // The text colour now in use.
    QColor textColour() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The character handler: the code to let through, or 0 to discard it.
    int acceptChar(int code);
    void lostFocus();
    void textChangedHandler();
    void step(int delta);
    void setTextColour(QColor colour);
    void placeUpDown();

    const Kind kind_;
    UpDownControl* upDown_ = nullptr;
    bool selectOnPress_ = false;  // the focus came with a mouse press not yet handled
};

}  // namespace tolvane::ui
