#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <functional>

#include "TestFiles.h"
#include "settings/AppConfig.h"

namespace tolvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class AppConfigTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
    QString run_ = dir_.path();
    QString ini_ = run_ + "/config.ini";
};

TEST_F(AppConfigTest, DefaultsWithoutAFileAndNoFileCreated) {
    const AppConfig config(run_);
    EXPECT_EQ(config.path(), ini_);
    EXPECT_FALSE(config.GetWindowShake());
    EXPECT_EQ(config.GetCloseAction(), 0);
    EXPECT_FALSE(config.GetChimeEnabled());
    EXPECT_TRUE(config.GetChimeSpeakTime());
    EXPECT_FALSE(config.GetChimeShowWindow());
    EXPECT_TRUE(config.GetGlobalSoundsEnabled());
    EXPECT_FALSE(config.GetTtsEnabled());
    EXPECT_FALSE(config.GetTtsSpeakTime());
    EXPECT_FALSE(config.GetTtsSpeakPrompt());
    EXPECT_EQ(config.GetTtsTiming(), 0);
    EXPECT_FALSE(QFile::exists(ini_));
}

TEST_F(AppConfigTest, ReadsStoredTextByTheFlagAndIntegerRules) {
    const AppConfig config(run_);
    struct Flag { QByteArray value; bool expected; };
    const Flag flags[] = {{"0", false}, {"", true}, {"yes", true}, {"1", true}, {"00", true}, {" 0 ", false}};
    for (const Flag& f : flags) {
        // readtt defaults on and wndshk off, so a stored value must win over both defaults.
        ASSERT_TRUE(WriteBytes(ini_, "[config]\r\nwndshk=" + f.value + "\r\n[ocring]\r\nreadtt=" + f.value + "\r\n"));
        EXPECT_EQ(config.GetWindowShake(), f.expected) << f.value.constData();
        EXPECT_EQ(config.GetChimeSpeakTime(), f.expected) << f.value.constData();
    }
    struct Int { QByteArray value; qint32 expected; };
    const Int ints[] = {{"abc", 0}, {"2x", 2}, {"-1", -1}, {"", 0}, {"1", 1}};
    for (const Int& i : ints) {
        ASSERT_TRUE(WriteBytes(ini_, "[config]\r\nemsg=" + i.value + "\r\n[tts]\r\nrdo=" + i.value + "\r\n"));
        EXPECT_EQ(config.GetCloseAction(), i.expected) << i.value.constData();
        EXPECT_EQ(config.GetTtsTiming(), i.expected) << i.value.constData();
    }
}

// The settings window's save: every setter in order, into a fresh file.
TEST_F(AppConfigTest, SavingAllSettingsWritesTheExpectedFile) {
    AppConfig config(run_);
    EXPECT_TRUE(config.SetWindowShake(true));
    EXPECT_TRUE(config.SetCloseAction(-1));
    EXPECT_TRUE(config.SetChimeEnabled(false));
    EXPECT_TRUE(config.SetChimeSpeakTime(false));
    EXPECT_TRUE(config.SetChimeShowWindow(true));
    EXPECT_TRUE(config.SetGlobalSoundsEnabled(false));
    EXPECT_TRUE(config.SetTtsEnabled(true));
    EXPECT_TRUE(config.SetTtsSpeakTime(true));
    EXPECT_TRUE(config.SetTtsSpeakPrompt(false));
    EXPECT_TRUE(config.SetTtsTiming(2));
    EXPECT_EQ(ReadBytes(ini_),
              "[config]\r\nwndshk=1\r\nemsg=-1\r\noasmusic=0\r\n"
              "[ocring]\r\nenable=0\r\nreadtt=0\r\nsownd=1\r\n"
              "[tts]\r\nenable=1\r\nreadtt=1\r\nreadlt=0\r\nrdo=2\r\n");
    EXPECT_TRUE(config.GetWindowShake());
    EXPECT_EQ(config.GetCloseAction(), -1);
    EXPECT_FALSE(config.GetChimeEnabled());
    EXPECT_FALSE(config.GetChimeSpeakTime());
    EXPECT_TRUE(config.GetChimeShowWindow());
    EXPECT_FALSE(config.GetGlobalSoundsEnabled());
    EXPECT_TRUE(config.GetTtsEnabled());
    EXPECT_TRUE(config.GetTtsSpeakTime());
    EXPECT_FALSE(config.GetTtsSpeakPrompt());
    EXPECT_EQ(config.GetTtsTiming(), 2);
}

TEST_F(AppConfigTest, WritesKeepTheToolboxSectionAndForeignLines) {
    // "中文" in GBK as the toolbox's Name.
    const QByteArray before = "[Toolbox]\r\nName=" + QByteArray::fromHex("d6d0cec4") + "\r\nTime=08:00:00\r\n"
                              "; hand-written\r\n[config]\r\nwndshk = 0\r\nmine=keep\r\n";
    ASSERT_TRUE(WriteBytes(ini_, before));
    AppConfig config(run_);
    ASSERT_TRUE(config.SetWindowShake(true));
    ASSERT_TRUE(config.SetTtsTiming(1));
    QByteArray expected = before;
    expected.replace("wndshk = 0", "wndshk = 1");
    expected += "[tts]\r\nrdo=1\r\n";
    EXPECT_EQ(ReadBytes(ini_), expected);
}

TEST_F(AppConfigTest, FailedWritesReturnFalseAndKeepTheOldFile) {
    const QByteArray before = "[config]\r\nwndshk=0\r\nemsg=1\r\n";
    ASSERT_TRUE(WriteBytes(ini_, before));
    AppConfig config(run_);
    const std::function<bool()> setters[] = {
        [&] { return config.SetWindowShake(true); },  [&] { return config.SetCloseAction(2); },
        [&] { return config.SetChimeEnabled(true); }, [&] { return config.SetTtsTiming(2); },
    };
    {
        test::FileSizeLimit full(4);  // a full disk, which stops root as well
        for (const auto& set : setters) EXPECT_FALSE(set());
    }
    EXPECT_EQ(ReadBytes(ini_), before);
    {
        test::ReadOnlyDir readOnly(run_);
        if (readOnly.effective()) {
            for (const auto& set : setters) EXPECT_FALSE(set());
        }
    }
    EXPECT_EQ(ReadBytes(ini_), before);
    EXPECT_FALSE(config.GetWindowShake());
    EXPECT_EQ(config.GetCloseAction(), 1);
}

// --- autostart ---

// The string escapes of a Desktop Entry value.
QString UnescapeValue(const QString& v) {
    QString out;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] != u'\\' || i + 1 == v.size()) { out += v[i]; continue; }
        const QChar n = v[++i];
        out += n == u's' ? QChar(u' ') : n == u'n' ? QChar(u'\n') : n == u't' ? QChar(u'\t')
             : n == u'r' ? QChar(u'\r') : n;
    }
    return out;
}

// Splits an unescaped Exec value into arguments by the Desktop Entry quoting rules and
// undoes "%%"; fails on anything the rules leave undefined (a reserved character outside
// quotes, an unescaped one inside) and on any field code.
bool SplitExec(const QString& exec, QStringList& args) {
    static const QString kReserved = QStringLiteral("\t\n'\\><~|&;$*?#()`");
    args.clear();
    QString cur;
    bool have = false, quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            // Inside quotes '"', '`', '$' and '\' must be escaped, and only they may be.
            if (c == u'\\') {
                if (i + 1 == exec.size() || !QStringLiteral("\"`$\\").contains(exec[i + 1])) return false;
                cur += exec[++i];
            } else if (c == u'"') {
                quoted = false;
            } else if (c == u'`' || c == u'$') {
                return false;
            } else {
                cur += c;
            }
        } else if (c == u' ') {
            if (have) args << cur;
            cur.clear();
            have = false;
        } else if (c == u'"') {
            quoted = have = true;
        } else if (kReserved.contains(c)) {
            return false;
        } else {
            cur += c;
            have = true;
        }
    }
    if (quoted) return false;
    if (have) args << cur;
    for (QString& a : args) {
        QString plain;
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (a[i] != u'%') { plain += a[i]; continue; }
            if (i + 1 < a.size() && a[i + 1] == u'%') { plain += u'%'; ++i; continue; }
            return false;
        }
        a = plain;
    }
    return true;
}

QMap<QString, QString> ReadEntry(const QString& path) {
    QMap<QString, QString> keys;
    const QString text = QString::fromUtf8(ReadBytes(path));
    const QStringList lines = text.split(u'\n');
    EXPECT_EQ(lines.value(0), "[Desktop Entry]");
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0) keys.insert(line.left(eq), UnescapeValue(line.mid(eq + 1)));
    }
    return keys;
}

class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldXdg_ = qgetenv("XDG_CONFIG_HOME");
        hadXdg_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        oldHome_ = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.path() + "/xdg"));
        qputenv("HOME", QFile::encodeName(home_.path()));
    }
    void TearDown() override {
        if (hadXdg_) qputenv("XDG_CONFIG_HOME", oldXdg_);
        else qunsetenv("XDG_CONFIG_HOME");
        qputenv("HOME", oldHome_);
    }
    QTemporaryDir home_;
    QString entry_ = home_.path() + "/xdg/autostart/Tolvane.TVX.desktop";
    QByteArray oldXdg_, oldHome_;
    bool hadXdg_ = false;
};

TEST_F(AutostartTest, EntryStartsTheProgramOfAnAwkwardRunDirectory) {
    const QString runDirs[] = {
        QStringLiteral("/opt/tolvane"),
        QStringLiteral("/home/u/my apps/\"quoted\" it's/back\\slash/100% %u $HOME `x` ;&|<>*?#()~/中文 闹钟😀"),
        QStringLiteral("/tmp/tab\there"),
    };
    for (const QString& run : runDirs) {
        AppConfig config(run);
        ASSERT_TRUE(config.SetAutostart(true)) << run.toStdString();
        ASSERT_TRUE(config.IsAutostart());
        const auto keys = ReadEntry(entry_);
        EXPECT_EQ(keys.value("Type"), "Application");
        EXPECT_EQ(keys.value("Comment"), QStringLiteral("Tolvane.TVX自动启动项"));
        EXPECT_FALSE(keys.value("Name").isEmpty());
        QStringList args;
        ASSERT_TRUE(SplitExec(keys.value("Exec"), args)) << keys.value("Exec").toStdString();
        EXPECT_EQ(args, (QStringList{run + "/TolvaneTVX", "-autorun"})) << keys.value("Exec").toStdString();
    }
}

TEST_F(AutostartTest, MakeReplaceAndRemove) {
    AppConfig config(QStringLiteral("/opt/tolvane"));
    EXPECT_FALSE(config.IsAutostart());
    EXPECT_TRUE(config.SetAutostart(false));  // nothing there: true, nothing made
    EXPECT_FALSE(QDir(home_.path() + "/xdg").exists());

    ASSERT_TRUE(config.SetAutostart(true));  // creates the folder
    ASSERT_TRUE(WriteBytes(entry_, "stale"));
    ASSERT_TRUE(config.SetAutostart(true));
    EXPECT_EQ(QDir(home_.path() + "/xdg/autostart").entryList(QDir::Files | QDir::Hidden),
              QStringList{"Tolvane.TVX.desktop"});
    EXPECT_NE(ReadBytes(entry_), "stale");

    ASSERT_TRUE(WriteBytes(entry_, "not an entry at all"));
    EXPECT_TRUE(config.IsAutostart());  // presence alone counts
    EXPECT_TRUE(config.SetAutostart(false));
    EXPECT_FALSE(QFile::exists(entry_));
    EXPECT_FALSE(config.IsAutostart());
    EXPECT_TRUE(config.SetAutostart(false));
}

TEST_F(AutostartTest, FolderComesFromTheBaseDirectoryRules) {
    AppConfig config(QStringLiteral("/opt/tolvane"));
    // Unset or relative XDG_CONFIG_HOME: ~/.config.
    for (const char* value : {static_cast<const char*>(nullptr), "relative/dir"}) {
        if (value) qputenv("XDG_CONFIG_HOME", value);
        else qunsetenv("XDG_CONFIG_HOME");
        ASSERT_TRUE(config.SetAutostart(true)) << (value ? value : "unset");
        EXPECT_TRUE(QFile::exists(home_.path() + "/.config/autostart/Tolvane.TVX.desktop"));
        EXPECT_TRUE(config.SetAutostart(false));
        EXPECT_FALSE(QFile::exists(home_.path() + "/.config/autostart/Tolvane.TVX.desktop"));
    }
    EXPECT_FALSE(QDir("relative").exists());
}

TEST_F(AutostartTest, UnwritableFolderReportsFalse) {
    // The autostart folder's place is taken by a file, which stops root as well.
    ASSERT_TRUE(QDir().mkpath(home_.path() + "/xdg"));
    ASSERT_TRUE(WriteBytes(home_.path() + "/xdg/autostart", "file"));
    AppConfig config(QStringLiteral("/opt/tolvane"));
    EXPECT_FALSE(config.SetAutostart(true));
    EXPECT_FALSE(config.IsAutostart());
}

}  // namespace
}  // namespace tolvane
