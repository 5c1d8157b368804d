#pragma once
// Integer-text input for an edit box: typed characters other than the digits, the minus
// sign and control characters (backspace and the like) are discarded.
#include <QObject>

class QLineEdit;

namespace tolvane::toolbox {

struct IntegerTextOptions {
    bool allowMinus = true;
    // Typing stops once the box holds this many characters; -1 for no limit. Unlike a
    // maximum length this leaves longer texts written by the program alone.
    int maxTypedChars = -1;
};

// Installs itself as an event filter on `box` (and becomes its child): key presses and
// input-method commits carrying a refused character are swallowed whole.
class IntegerTextInput final : public QObject {
public:
    static void Attach(QLineEdit* box, IntegerTextOptions options = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IntegerTextInput(QLineEdit* box, IntegerTextOptions options);
    bool accepts(const QString& typed) const;

    QLineEdit* box_;
    IntegerTextOptions options_;
};

}  // namespace tolvane::toolbox
