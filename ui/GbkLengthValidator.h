#pragma once
// Limits an entry box to a number of GBK bytes (a Chinese character counts 2): an edit that
// would make the text longer is refused whole, typed or pasted.
#include <QValidator>

namespace tolvane::ui {

class GbkLengthValidator final : public QValidator {
    Q_OBJECT
public:
    GbkLengthValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}
    State validate(QString& input, int& pos) const override;

private:
    const int maxBytes_;
};

}  // namespace tolvane::ui
