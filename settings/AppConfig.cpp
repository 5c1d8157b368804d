#include "settings/AppConfig.h"

#include "platform/AutostartEntry.h"
#include "platform/LeadingInt.h"

namespace tolvane {
namespace {

const QString kEntryFile = QStringLiteral("Tolvane.TVX.desktop");

}  // namespace

AppConfig::AppConfig(QString runDir)
    : program_(runDir + QStringLiteral("/TolvaneTVX")), ini_(runDir + QStringLiteral("/config.ini")) {}

bool AppConfig::SetAutostart(bool enabled) {
    if (!enabled) return platform::RemoveAutostartEntry(kEntryFile);
    const platform::AutostartEntry entry{QStringLiteral("Tolvane.TVX"),
                                         QStringLiteral("Tolvane.TVX自动启动项"), program_,
                                         {QStringLiteral("-autorun")}};
    return platform::WriteAutostartEntry(kEntryFile, entry);
}

bool AppConfig::IsAutostart() const { return platform::HasAutostartEntry(kEntryFile); }

bool AppConfig::SetFlag(const char* section, const char* key, bool on) {
    return ini_.write(QLatin1String(section), QLatin1String(key),
                      on ? QStringLiteral("1") : QStringLiteral("0"));
}

bool AppConfig::GetFlag(const char* section, const char* key, bool fallback) const {
    return ini_.read(QLatin1String(section), QLatin1String(key),
                     fallback ? QStringLiteral("1") : QStringLiteral("0")) != u"0";
}

bool AppConfig::SetInt(const char* section, const char* key, qint32 value) {
    return ini_.write(QLatin1String(section), QLatin1String(key), QString::number(value));
}

qint32 AppConfig::GetInt(const char* section, const char* key) const {
    return platform::ParseLeadingInt(ini_.read(QLatin1String(section), QLatin1String(key), QStringLiteral("0")));
}

bool AppConfig::SetWindowShake(bool on) { return SetFlag("config", "wndshk", on); }
bool AppConfig::GetWindowShake() const { return GetFlag("config", "wndshk", false); }
bool AppConfig::SetCloseAction(qint32 index) { return SetInt("config", "emsg", index); }
qint32 AppConfig::GetCloseAction() const { return GetInt("config", "emsg"); }
bool AppConfig::SetChimeEnabled(bool on) { return SetFlag("ocring", "enable", on); }
bool AppConfig::GetChimeEnabled() const { return GetFlag("ocring", "enable", false); }
bool AppConfig::SetChimeSpeakTime(bool on) { return SetFlag("ocring", "readtt", on); }
bool AppConfig::GetChimeSpeakTime() const { return GetFlag("ocring", "readtt", true); }
bool AppConfig::SetChimeShowWindow(bool on) { return SetFlag("ocring", "sownd", on); }
bool AppConfig::GetChimeShowWindow() const { return GetFlag("ocring", "sownd", false); }
bool AppConfig::SetGlobalSoundsEnabled(bool on) { return SetFlag("config", "oasmusic", on); }
bool AppConfig::GetGlobalSoundsEnabled() const { return GetFlag("config", "oasmusic", true); }
bool AppConfig::SetTtsEnabled(bool on) { return SetFlag("tts", "enable", on); }
bool AppConfig::GetTtsEnabled() const { return GetFlag("tts", "enable", false); }
bool AppConfig::SetTtsSpeakTime(bool on) { return SetFlag("tts", "readtt", on); }
bool AppConfig::GetTtsSpeakTime() const { return GetFlag("tts", "readtt", false); }
bool AppConfig::SetTtsSpeakPrompt(bool on) { return SetFlag("tts", "readlt", on); }
bool AppConfig::GetTtsSpeakPrompt() const { return GetFlag("tts", "readlt", false); }
bool AppConfig::SetTtsTiming(qint32 index) { return SetInt("tts", "rdo", index); }
qint32 AppConfig::GetTtsTiming() const { return GetInt("tts", "rdo"); }

}  // namespace tolvane
