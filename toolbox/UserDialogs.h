#pragma once
// The toolbox's message and input boxes, behind one interface so that the windows and the
// time sync can be driven by tests without real modal boxes.
#include <QString>

namespace tolvane::toolbox {

enum class DialogButtons { Ok, YesNo, AbortRetryIgnore };
enum class DialogIcon { None, Information, Warning, Stop };
enum class DialogAnswer { Ok, Yes, No, Abort, Retry, Ignore };

// Contract: every box has no owner window and blocks the whole program until answered.
// Texts may hold several lines joined by CR LF.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // Shows a message box and returns the button pressed.
    virtual DialogAnswer message(const QString& text, const QString& title,
                                 DialogButtons buttons, DialogIcon icon) = 0;

    // Shows an input box whose entry hides the typed characters when `masked`. Returns the
    // typed text, or the empty text when the box was cancelled.
    virtual QString input(const QString& prompt, const QString& title, bool masked) = 0;
};

// The real boxes: QMessageBox and QInputDialog, application-modal.
class QtUserDialogs final : public UserDialogs {
public:
    DialogAnswer message(const QString& text, const QString& title, DialogButtons buttons,
                         DialogIcon icon) override;
    QString input(const QString& prompt, const QString& title, bool masked) override;
};

}  // namespace tolvane::toolbox
