#pragma once
// Numbers kept as text in the program's files.
#include <QStringView>
#include <QtGlobal>

namespace tolvane::platform {

// The value of an optional sign followed by the leading decimal digits of `text`, after
// leading spaces and tabs: "3x" gives 3, "-1" gives -1, "abc", "" and "-" give 0. Values past
// the 32-bit range are clamped to it. Pure; any thread.
qint32 ParseLeadingInt(QStringView text);

}  // namespace tolvane::platform
