#include "toolbox/UserDialogs.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace tolvane::toolbox {

namespace {

// Qt breaks lines at LF; a CR left in front of it would show as a stray glyph on some
// platforms.
QString ForDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace

DialogAnswer QtUserDialogs::message(const QString& text, const QString& title,
                                    DialogButtons buttons, DialogIcon icon) {
    QMessageBox box;
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(title);
    box.setText(ForDisplay(text));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case DialogIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case DialogIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case DialogIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case DialogIcon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case DialogButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case DialogButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case DialogButtons::AbortRetryIgnore:
        box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return DialogAnswer::Yes;
    case QMessageBox::No:
        return DialogAnswer::No;
    case QMessageBox::Abort:
        return DialogAnswer::Abort;
    case QMessageBox::Retry:
        return DialogAnswer::Retry;
    case QMessageBox::Ignore:
        return DialogAnswer::Ignore;
    default:
        // Closing a Yes/No box with Escape answers No; an OK box has nothing else.
        return buttons == DialogButtons::YesNo ? DialogAnswer::No : DialogAnswer::Ok;
    }
}

QString QtUserDialogs::input(const QString& prompt, const QString& title, bool masked) {
    QInputDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowTitle(title);
    dialog.setLabelText(ForDisplay(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

}  // namespace tolvane::toolbox
