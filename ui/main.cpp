// Start-up of the alarm clock: the process-wide objects in their order, then the main window;
// once it exists the task store is made ready and the first scan starts.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include "core/ClockHelper.h"
#include "core/LoggingRingPresenter.h"
#include "core/Scheduler.h"
#include "core/TaskStore.h"
#include "platform/Clock.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("TolvaneTVX"));
    const QString runDir = QCoreApplication::applicationDirPath();

    tolvane::platform::SystemClock clock;
    tolvane::TaskStore store(runDir);
    tolvane::LoggingRingPresenter presenter;
    tolvane::Scheduler scheduler(store, clock, presenter);
    presenter.setScheduler(&scheduler);
    tolvane::ClockHelper clockHelper(clock);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tolvane.TVX"));
    window.resize(420, 260);
    window.show();
    QTimer::singleShot(0, &window, [&] {
        scheduler.EnsureTaskStore();
        scheduler.Start();
    });
    return app.exec();
}
