#include "ui/GbkLengthValidator.h"

#include "platform/GbkText.h"

namespace tolvane::ui {

QValidator::State GbkLengthValidator::validate(QString& input, int&) const {
    return platform::GbkLength(input) <= maxBytes_ ? Acceptable : Invalid;
}

}  // namespace tolvane::ui
