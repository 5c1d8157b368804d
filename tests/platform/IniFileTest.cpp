#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <thread>

#include "TestFiles.h"
#include "platform/IniFile.h"

namespace tolvane::platform {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// "中文" and "闹钟" in GBK, "😀" in GB18030 (outside GBK).
const QByteArray kZhongwenGbk = QByteArray::fromHex("d6d0cec4");
const QByteArray kNaozhongGbk = QByteArray::fromHex("c4d6d6d3");
const QByteArray kEmojiGb18030 = QByteArray::fromHex("9439fc36");

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
    QString path_ = dir_.path() + "/config.ini";
};

// A file as a user, the other program and a foreign tool may leave it.
QByteArray MixedFile() {
    return "; settings of the alarm clock\r\n"
           "[config]\r\n"
           "  wndshk = 0  \r\n"
           "emsg=2\r\n"
           "note=a;b=c\r\n"
           "\r\n"
           "[Toolbox]\r\n"
           "Name=" + kZhongwenGbk + "\r\n"
           "Time=12:30\r\n"
           "# foreign comment\r\n"
           "[OTHER]\r\n"
           "x=1\r\n"
           "x=2\r\n"
           "[tts]\r\n"
           "rdo=\r\n"
           "enable";  // no line break at the end, and a line without "="
}

TEST_F(IniFileTest, ReadsKeysOfAMixedFile) {
    ASSERT_TRUE(WriteBytes(path_, MixedFile()));
    IniFile ini(path_);
    struct Case { const char* section; const char* key; QString expected; };
    const Case cases[] = {
        {"config", "wndshk", "0"},         // blanks around key and value dropped
        {"CONFIG", "EMSG", "2"},           // names compare without case
        {"config", "note", "a;b=c"},       // ";" and "=" inside a value are value
        {"Toolbox", "Name", QStringLiteral("中文")},
        {"toolbox", "time", "12:30"},
        {"other", "x", "1"},               // the first of two equal keys
        {"tts", "rdo", ""},                // present and empty is not missing
        {"tts", "enable", "<fallback>"},   // no "=": not a key
        {"config", "Name", "<fallback>"},  // key of another section
        {"missing", "wndshk", "<fallback>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.read(c.section, c.key, "<fallback>"), c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(IniFile(dir_.path() + "/none.ini").read("config", "wndshk", "d"), "d");
}

TEST_F(IniFileTest, WritingAKeyChangesOnlyItsValue) {
    ASSERT_TRUE(WriteBytes(path_, MixedFile()));
    IniFile ini(path_);
    ASSERT_TRUE(ini.write("config", "wndshk", "1"));
    ASSERT_TRUE(ini.write("tts", "rdo", "-1"));
    ASSERT_TRUE(ini.write("Toolbox", "Name", QStringLiteral("闹钟")));
    QByteArray expected = MixedFile();
    expected.replace("  wndshk = 0  \r\n", "  wndshk = 1\r\n");
    expected.replace("rdo=\r\n", "rdo=-1\r\n");
    expected.replace("Name=" + kZhongwenGbk, "Name=" + kNaozhongGbk);
    EXPECT_EQ(ReadBytes(path_), expected);
}

TEST_F(IniFileTest, MissingKeysAndSectionsAreAppended) {
    ASSERT_TRUE(WriteBytes(path_, MixedFile()));
    IniFile ini(path_);
    ASSERT_TRUE(ini.write("config", "oasmusic", "1"));  // after the section's last line, before the blank
    ASSERT_TRUE(ini.write("tts", "readtt", "0"));       // section at the end without a final line break
    ASSERT_TRUE(ini.write("ocring", "enable", "1"));    // a new section at the end
    QByteArray expected = MixedFile();
    expected.replace("note=a;b=c\r\n", "note=a;b=c\r\noasmusic=1\r\n");
    expected += "\r\nreadtt=0\r\n[ocring]\r\nenable=1\r\n";
    EXPECT_EQ(ReadBytes(path_), expected);
    EXPECT_EQ(ini.read("config", "oasmusic"), "1");
    EXPECT_EQ(ini.read("tts", "readtt"), "0");
    EXPECT_EQ(ini.read("ocring", "enable"), "1");
}

TEST_F(IniFileTest, NewLinesFollowTheFilesLineEnding) {
    IniFile ini(path_);
    ASSERT_TRUE(ini.write("config", "wndshk", "1"));
    ASSERT_TRUE(ini.write("config", "emsg", "0"));
    EXPECT_EQ(ReadBytes(path_), "[config]\r\nwndshk=1\r\nemsg=0\r\n");

    ASSERT_TRUE(WriteBytes(path_, "[Toolbox]\nName=x\n"));
    ASSERT_TRUE(ini.write("config", "wndshk", "0"));
    EXPECT_EQ(ReadBytes(path_), "[Toolbox]\nName=x\n[config]\nwndshk=0\n");
}

TEST_F(IniFileTest, KeepsBytesThatAreNotValidText) {
    const QByteArray odd = "[Toolbox]\r\nName=\xff\x80\r\n[config]\r\nwndshk=0\r\n";
    ASSERT_TRUE(WriteBytes(path_, odd));
    IniFile ini(path_);
    ASSERT_TRUE(ini.write("config", "wndshk", "1"));
    QByteArray expected = odd;
    expected.replace("wndshk=0", "wndshk=1");
    EXPECT_EQ(ReadBytes(path_), expected);
}

TEST_F(IniFileTest, TextOutsideGbkSurvivesAsGb18030) {
    IniFile ini(path_);
    const QString name = QStringLiteral("中文😀");
    ASSERT_TRUE(ini.write("Toolbox", "Name", name));
    EXPECT_EQ(ReadBytes(path_), "[Toolbox]\r\nName=" + kZhongwenGbk + kEmojiGb18030 + "\r\n");
    EXPECT_EQ(ini.read("Toolbox", "Name"), name);
}

TEST_F(IniFileTest, RefusesWhatCouldNotBeReadBackAndLeavesTheFile) {
    const QByteArray before = "[config]\r\nwndshk=0\r\n";
    ASSERT_TRUE(WriteBytes(path_, before));
    IniFile ini(path_);
    struct Case { QString section, key, value; };
    const Case cases[] = {
        {"config", "wndshk", "1\r\n[x]"}, {"config", "wndshk", "a\nb"},
        {"con]fig", "k", "1"},            {"", "k", "1"},
        {"config", "a=b", "1"},           {"config", ";k", "1"},
        {"config", " k", "1"},            {"config", "", "1"},
        {"config", "k", QString(QChar(0xD800))},  // unpaired surrogate
    };
    for (const Case& c : cases) EXPECT_FALSE(ini.write(c.section, c.key, c.value)) << c.section.toStdString() << "/" << c.key.toStdString();
    EXPECT_EQ(ReadBytes(path_), before);
}

TEST_F(IniFileTest, AFailedWriteLeavesTheOldFileWhole) {
    const QByteArray before = "[Toolbox]\r\nName=" + kZhongwenGbk + "\r\n[config]\r\nwndshk=0\r\n";
    ASSERT_TRUE(WriteBytes(path_, before));
    IniFile ini(path_);
    {
        test::FileSizeLimit full(16);  // the new file cannot be written whole
        EXPECT_FALSE(ini.write("config", "wndshk", "1"));
    }
    EXPECT_EQ(ReadBytes(path_), before);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"config.ini"});  // no temporary left

    // A file that exists but cannot be read is not replaced by one holding a single key.
    const QString folderPath = dir_.path() + "/folder.ini";
    ASSERT_TRUE(QDir().mkdir(folderPath));
    EXPECT_FALSE(IniFile(folderPath).write("config", "wndshk", "1"));
}

TEST_F(IniFileTest, ConcurrentWritersLoseNoKey) {
    IniFile ini(path_);
    auto writer = [&ini](const QString& section) {
        for (int i = 0; i < 40; ++i) (void)ini.write(section, QString("k%1").arg(i), QString::number(i));
    };
    std::thread a(writer, QStringLiteral("config")), b(writer, QStringLiteral("Toolbox"));
    a.join();
    b.join();
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(ini.read("config", QString("k%1").arg(i)), QString::number(i));
        EXPECT_EQ(ini.read("Toolbox", QString("k%1").arg(i)), QString::number(i));
    }
}

}  // namespace
}  // namespace tolvane::platform
