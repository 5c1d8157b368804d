// Start-up of the alarm clock: the process-wide objects in their order, then the main window;
// once it exists the task store is made ready, the notification-area icon put up and the
// first scan started.
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>

#include "core/ClockHelper.h"
#include "core/Scheduler.h"
#include "core/TaskStore.h"
#include "platform/AudioSystem.h"
#include "platform/Clock.h"
#include "platform/MediaPlayer.h"
#include "ring/AlarmSoundList.h"
#include "ring/RingWindowPresenter.h"
#include "settings/AppConfig.h"
#include "ui/DesktopShell.h"
#include "ui/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("TolvaneTVX"));
    // The main window may be hidden in the notification area while a ring window closes:
    // only the main window's close ends the program.
    app.setQuitOnLastWindowClosed(false);
    QFont font(QStringList{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei")}, 9);
    app.setFont(font);
    const QString runDir = QCoreApplication::applicationDirPath();

    tolvane::platform::SystemClock clock;
    // Sound output for every window that plays (opened lazily, on the first sound); it
    // outlives them all, and falls back to a silent driver when there is no device.
    tolvane::platform::AudioSystem audio;
    tolvane::TaskStore store(runDir);
    tolvane::RingWindowPresenter presenter({});
    tolvane::Scheduler scheduler(store, clock, presenter);
    tolvane::ClockHelper clockHelper(clock);
    tolvane::AlarmSoundList alarmSounds(runDir);  // writes the default music.db when missing
    tolvane::AppConfig config(runDir);
    {
        tolvane::RingWindowContext ring;
        ring.scheduler = &scheduler;
        ring.clock = &clock;
        ring.loadSounds = [&alarmSounds](QList<tolvane::AlarmSound>& out) { return alarmSounds.LoadSounds(out); };
        ring.windowShake = [&config] { return config.GetWindowShake(); };
        ring.makePlayer = [&audio] {
            return std::make_unique<tolvane::platform::SdlMediaPlayer>(
                audio, tolvane::platform::SdlMediaPlayer::Priority::Alarm);
        };
        presenter.setContext(ring);  // refreshTaskList: set once TaskManagerWindow exists
    }
    tolvane::ui::SystemDesktopShell shell;

    tolvane::ui::MainWindowServices services;
    services.store = &store;
    services.scheduler = &scheduler;
    services.clock = &clock;
    services.shell = &shell;
    services.runDir = runDir;
    // The program icon, 16 and 24 pixels, from the pictures built into the program; the
    // window draws a plain one when they are missing.
    for (const char* size : {"16", "24"}) {
        const QString path = QStringLiteral(":/tolvane/icon%1.png").arg(QLatin1String(size));
        if (QFile::exists(path)) services.icon.addFile(path);
    }
    if (!services.icon.isNull()) app.setWindowIcon(services.icon);
    services.trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    services.quit = [] { QCoreApplication::exit(0); };

    tolvane::ui::MainWindow window(services);
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.Created(); });
    return app.exec();
}
