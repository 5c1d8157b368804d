#pragma once
// Records every box the toolbox shows and answers from a script, so no modal box blocks.
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "toolbox/UserDialogs.h"

namespace tolvane::toolbox::testing {

struct ShownBox {
    QString text;
    QString title;
    DialogButtons buttons = DialogButtons::Ok;
    DialogIcon icon = DialogIcon::None;
    bool isInput = false;
    bool masked = false;
};

class FakeUserDialogs final : public UserDialogs {
public:
    // Answers for message boxes with more than an OK button, in order. When none is left,
    // Yes/No boxes answer No and Abort/Retry/Ignore boxes Abort.
    std::deque<DialogAnswer> answers;
    // Texts typed into input boxes, in order; an empty queue means the box was cancelled.
    std::deque<QString> typed;
    std::vector<ShownBox> shown;
    // Called as each box is answered, e.g. to move a fake clock on while it is open.
    std::function<void(const ShownBox&)> onShow;

    DialogAnswer message(const QString& text, const QString& title, DialogButtons buttons,
                         DialogIcon icon) override {
        shown.push_back({text, title, buttons, icon, false, false});
        if (onShow)
            onShow(shown.back());
        if (buttons == DialogButtons::Ok)
            return DialogAnswer::Ok;
        if (!answers.empty()) {
            const DialogAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == DialogButtons::YesNo ? DialogAnswer::No : DialogAnswer::Abort;
    }

    QString input(const QString& prompt, const QString& title, bool masked) override {
        shown.push_back({prompt, title, DialogButtons::Ok, DialogIcon::None, true, masked});
        if (onShow)
            onShow(shown.back());
        if (typed.empty())
            return {};
        QString t = typed.front();
        typed.pop_front();
        return t;
    }

    std::vector<QString> titles() const {
        std::vector<QString> out;
        for (const ShownBox& b : shown)
            out.push_back(b.title);
        return out;
    }
};

}  // namespace tolvane::toolbox::testing
