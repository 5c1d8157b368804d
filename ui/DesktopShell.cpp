#include "ui/DesktopShell.h"

#include <QDesktopServices>
#include <QProcess>

namespace tolvane::ui {

bool SystemDesktopShell::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool SystemDesktopShell::StartDetached(const QString& program, const QString& workDir) {
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(workDir);
    // The child gets no standard input of ours and cannot hold our terminal.
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

}  // namespace tolvane::ui
