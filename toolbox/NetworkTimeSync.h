#pragma once
// Setting the computer's clock from a public time page, with its dialogue boxes.
#include <QByteArray>
#include <QString>
#include <QUrl>

#include "platform/Clock.h"
#include "platform/HttpGet.h"
#include "platform/SystemClockSetter.h"
#include "toolbox/UserDialogs.h"

namespace tolvane::toolbox {

// The time page used when config.ini names none.
inline const QString kDefaultTimePageUrl = QStringLiteral("http://www.time.ac.cn/stime.asp");

// The time page address: the `TimeUrl` key of the `Toolbox` section of the config file at
// `configPath`, or kDefaultTimePageUrl when the file, section or key is missing or empty.
// A value that is no http or https address is returned as it is; fetching it fails.
QUrl ReadTimePageUrl(const QString& configPath);

// 1-based byte position of `marker` in the GBK text `text`, searched from the start
// character by character (a two-byte character is never split); -1 when absent.
int FindGbkMarker(const QByteArray& text, const QByteArray& marker);

// One run of the network time sync. `run` shows the welcome box and then either
// synchronises (fetch the page, read its date and time, set the clock, report) or shows
// the cancellation box, after which a hidden dialogue opens when the clock reads exactly
// 20:00:00 on 8 August 2008. Everything runs on the calling (UI) thread. The clock is set
// only from a page whose full date and time parse; a clock change the system refuses is
// reported with the system's reason instead of the success box.
class NetworkTimeSync {
public:
    NetworkTimeSync(const platform::Clock& clock, platform::HttpGetter& http,
                    platform::SystemClockSetter& clockSetter, UserDialogs& dialogs,
                    QUrl pageUrl);

    void run();

private:
    void synchronise();
    void cancel();
    void hiddenDialogue();
    QString title(int number) const;  // 1-based, as decoded for this run

    const platform::Clock& clock_;
    platform::HttpGetter& http_;
    platform::SystemClockSetter& clockSetter_;
    UserDialogs& dialogs_;
    QUrl pageUrl_;
    QString titles_[6];
};

}  // namespace tolvane::toolbox
