// tvxkit: the toolbox. Makes the real clock, network, clock setter, boxes and sound, and
// runs until the launcher window is closed.
#include <QApplication>

#include "platform/Clock.h"
#include "platform/HttpGet.h"
#include "platform/SystemClockSetter.h"
#include "toolbox/GameReminder.h"
#include "toolbox/ToolboxWindow.h"
#include "toolbox/UserDialogs.h"

int main(int argc, char** argv) {
    using namespace tolvane;
    QApplication app(argc, argv);

    platform::SystemClock clock;
    platform::QtHttpGetter http;
    platform::RealSystemClockSetter clockSetter;
    toolbox::QtUserDialogs dialogs;
    // The reminder's alert cannot be reached, so it needs no real player.
    toolbox::SilentReminderSound sound;
    toolbox::ToolboxGlobals globals;

    toolbox::ToolboxWindow window({clock, http, clockSetter, dialogs, sound, globals,
                                   QCoreApplication::applicationDirPath()});
    QObject::connect(&window, &toolbox::ToolboxWindow::closed, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
