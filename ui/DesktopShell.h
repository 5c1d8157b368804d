#pragma once
// The desktop services the main window asks for: a web page in the user's browser and a
// program started as a process of its own.
#include <QString>
#include <QUrl>

namespace tolvane::ui {

// Contract: user-interface thread. Neither call waits for what it starts.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Opens `url` in the default browser. False when no browser could be asked.
    [[nodiscard]] virtual bool OpenUrl(const QUrl& url) = 0;
    // Starts `program` (a path) with no arguments and working directory `workDir`, detached:
    // it outlives this process and is never waited for. False when it could not be started.
    [[nodiscard]] virtual bool StartDetached(const QString& program, const QString& workDir) = 0;
};

// The real desktop: QDesktopServices and QProcess.
class SystemDesktopShell final : public DesktopShell {
public:
    bool OpenUrl(const QUrl& url) override;
    bool StartDetached(const QString& program, const QString& workDir) override;
};

}  // namespace tolvane::ui
