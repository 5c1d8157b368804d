#pragma once
// The settings of TolvaneTVX in config.ini, and the autostart entry.
//
// Nothing is cached: every getter reads the file when called and every setter writes its
// one key at once, leaving every other line of the file (tvxkit's Toolbox section, foreign
// keys, comments) as it was. A missing file is normal: getters give their defaults and the
// first setter creates it. Flags are "1"/"0"; a stored flag is off only when it is exactly
// "0" (an empty value or "yes" is on). Integers are decimal text; their leading digits count
// ("2x" is 2, "abc" is 0).
//
// Autostart is an XDG autostart entry "Tolvane.TVX.desktop" in the user's autostart folder
// that starts runDir + "/TolvaneTVX" with the argument "-autorun"; its presence alone is the
// autostart state.
//
// Thread-safety: the object only holds paths; any thread may call. Writes of config.ini in
// one process are serialised and each replaces the file atomically.
#include <QString>

#include "platform/IniFile.h"

namespace tolvane {

class AppConfig {
public:
    // `runDir` is the program's folder without a trailing "/"; the settings file is
    // runDir + "/config.ini". Touches no file.
    explicit AppConfig(QString runDir);

    const QString& path() const { return ini_.path(); }

    // True makes (or replaces) the autostart entry, false removes it; true when the entry
    // is as asked afterwards (removing an absent entry is true and touches nothing).
    [[nodiscard]] bool SetAutostart(bool enabled);
    // Whether the autostart entry file exists; its content is not looked at.
    bool IsAutostart() const;

    // Every setter returns whether config.ini was written; on false the file is unchanged.
    // Section, key and default of each pair:
    [[nodiscard]] bool SetWindowShake(bool on);         // config/wndshk, off
    bool GetWindowShake() const;
    [[nodiscard]] bool SetCloseAction(qint32 index);    // config/emsg, 0
    qint32 GetCloseAction() const;
    [[nodiscard]] bool SetChimeEnabled(bool on);        // ocring/enable, off
    bool GetChimeEnabled() const;
    [[nodiscard]] bool SetChimeSpeakTime(bool on);      // ocring/readtt, on
    bool GetChimeSpeakTime() const;
    [[nodiscard]] bool SetChimeShowWindow(bool on);     // ocring/sownd, off
    bool GetChimeShowWindow() const;
    [[nodiscard]] bool SetGlobalSoundsEnabled(bool on); // config/oasmusic, on
    bool GetGlobalSoundsEnabled() const;
    [[nodiscard]] bool SetTtsEnabled(bool on);          // tts/enable, off
    bool GetTtsEnabled() const;
    [[nodiscard]] bool SetTtsSpeakTime(bool on);        // tts/readtt, off
    bool GetTtsSpeakTime() const;
    [[nodiscard]] bool SetTtsSpeakPrompt(bool on);      // tts/readlt, off
    bool GetTtsSpeakPrompt() const;
    [[nodiscard]] bool SetTtsTiming(qint32 index);      // tts/rdo, 0
    qint32 GetTtsTiming() const;

private:
    bool SetFlag(const char* section, const char* key, bool on);
    bool GetFlag(const char* section, const char* key, bool fallback) const;
    bool SetInt(const char* section, const char* key, qint32 value);
    qint32 GetInt(const char* section, const char* key) const;

    QString program_;  // what the autostart entry starts
    platform::IniFile ini_;
};

}  // namespace tolvane
