#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "ring/AlarmSoundList.h"

namespace tolvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// GBK bytes of the default names and file names, spelled out so the encoder is not its own
// judge.
const QByteArray kCanonGbk = QByteArray::fromHex("bfa8c5a928c4acc8cfc4d6c1e53129");      // 卡农(默认闹铃1)
const QByteArray kClockGbk = QByteArray::fromHex("bbfad0b5c4d6d6d328c4acc8cfc4d6c1e53229");  // 机械闹钟(默认闹铃2)
const QByteArray kSound1Gbk = QByteArray::fromHex("c4acc8cfc4d6c1e52e6d7033");             // 默认闹铃.mp3
const QByteArray kSound2Gbk = QByteArray::fromHex("c4acc8cfc4d6c1e5322e6d7033");           // 默认闹铃2.mp3
const QByteArray kEmojiGb18030 = QByteArray::fromHex("9439fc36");                           // 😀

class AlarmSoundListTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
    QString run_ = dir_.path();
    QString db_ = run_ + "/music.db";
};

TEST_F(AlarmSoundListTest, WritesTheDefaultFileOnlyWhenMissing) {
    const QByteArray run = QFile::encodeName(run_);
    const QByteArray expected = "0\r\n1|1|" + kCanonGbk + "|" + run + "/" + kSound1Gbk + "\r\n1|15|" +
                                kClockGbk + "|" + run + "/" + kSound2Gbk;
    AlarmSoundList list(run_);
    EXPECT_EQ(list.path(), db_);
    EXPECT_EQ(ReadBytes(db_), expected);

    QList<AlarmSound> sounds;
    EXPECT_EQ(list.LoadSounds(sounds), "0");
    const QList<AlarmSound> defaults{
        {1, 1, QStringLiteral("卡农(默认闹铃1)"), run_ + QStringLiteral("/默认闹铃.mp3")},
        {1, 15, QStringLiteral("机械闹钟(默认闹铃2)"), run_ + QStringLiteral("/默认闹铃2.mp3")},
    };
    EXPECT_EQ(sounds, defaults);

    // An existing file, even an empty one, is the user's list.
    ASSERT_TRUE(WriteBytes(db_, ""));
    AlarmSoundList again(run_);
    EXPECT_EQ(ReadBytes(db_), "");
}

TEST_F(AlarmSoundListTest, LoadsEveryShapeOfFileWithoutFailing) {
    struct Case {
        const char* what;
        QByteArray bytes;
        QString flag;
        QList<AlarmSound> sounds;
    };
    const Case cases[] = {
        {"empty file", "", "", {}},
        {"flag alone", "1", "1", {}},
        {"flag and CR LF", "1\r\n", "1", {}},
        {"other flag kept as is", "2\r\n1|1|a|/a.mp3", "2", {{1, 1, "a", "/a.mp3"}}},
        {"trailing CR LF adds no entry", "0\r\n1|1|a|/a.mp3\r\n", "0", {{1, 1, "a", "/a.mp3"}}},
        {"leading digits", "0\r\nabc|3x|a|/a.mp3", "0", {{0, 3, "a", "/a.mp3"}}},
        {"negative and clamped", "0\r\n-1|99999999999|a|/a", "0", {{-1, 2147483647, "a", "/a"}}},
        {"empty path", "0\r\n1|2|a|", "0", {{1, 2, "a", ""}}},
        {"no path field", "0\r\n1|2|a", "0", {{1, 2, "a", ""}}},
        {"numbers only", "0\r\n1|2", "0", {{1, 2, "", ""}}},
        {"empty line between entries", "0\r\n1|1|a|/a\r\n\r\n1|2|b|/b", "0",
         {{1, 1, "a", "/a"}, {0, 0, "", ""}, {1, 2, "b", "/b"}}},
        {"lone LF is not a line break", "0\r\n1|1|a|/a\nb", "0", {{1, 1, "a", "/a\nb"}}},
        {"GBK text", "0\r\n1|1|" + kCanonGbk + "|/m/" + kSound1Gbk, "0",
         {{1, 1, QStringLiteral("卡农(默认闹铃1)"), QStringLiteral("/m/默认闹铃.mp3")}}},
    };
    AlarmSoundList list(run_);
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteBytes(db_, c.bytes));
        QList<AlarmSound> sounds{{1, 1, "stale", "/stale"}};
        EXPECT_EQ(list.LoadSounds(sounds), c.flag) << c.what;
        EXPECT_EQ(sounds, c.sounds) << c.what;
    }
    ASSERT_TRUE(QFile::remove(db_));
    QList<AlarmSound> sounds;
    EXPECT_EQ(list.LoadSounds(sounds), "");
    EXPECT_TRUE(sounds.isEmpty());
}

TEST_F(AlarmSoundListTest, SavesExactBytes) {
    AlarmSoundList list(run_);
    ASSERT_TRUE(list.SaveSounds("1", {}));
    EXPECT_EQ(ReadBytes(db_), "1");
    ASSERT_TRUE(list.SaveSounds("0", {{0, 3, QStringLiteral("卡农(默认闹铃1)"), "/a b/x.wav"}, {1, -1, "", ""}}));
    EXPECT_EQ(ReadBytes(db_), "0\r\n0|3|" + kCanonGbk + "|/a b/x.wav\r\n1|-1||");
}

// A saved entry loads back as the same entry, or as the same entry with a visibly adjusted
// name; never with another path.
TEST_F(AlarmSoundListTest, SavedEntriesLoadBackWithTheirPaths) {
    struct Case {
        const char* what;
        AlarmSound saved;
        AlarmSound loaded;
        QByteArray line;
    };
    const Case cases[] = {
        {"empty path", {1, 4, "a", ""}, {1, 4, "a", ""}, "1|4|a|"},
        {"empty name and path", {0, 0, "", ""}, {0, 0, "", ""}, "0|0||"},
        {"bar in the name", {1, 1, "a|b", "/s/x.mp3"}, {1, 1, QStringLiteral("a｜b"), "/s/x.mp3"},
         "1|1|a" + QByteArray::fromHex("a3fc") + "b|/s/x.mp3"},
        {"line break in the name", {1, 1, "a\r\nb\nc", "/x"}, {1, 1, "a b c", "/x"}, "1|1|a b c|/x"},
        {"bars in the path", {1, 1, "a", "/s|t/x|"}, {1, 1, "a", "/s|t/x|"}, "1|1|a|/s|t/x|"},
        {"text outside GBK", {1, 1, QStringLiteral("闹😀"), QStringLiteral("/😀.mp3")},
         {1, 1, QStringLiteral("闹😀"), QStringLiteral("/😀.mp3")},
         "1|1|" + QByteArray::fromHex("c4d6") + kEmojiGb18030 + "|/" + kEmojiGb18030 + ".mp3"},
    };
    AlarmSoundList list(run_);
    for (const Case& c : cases) {
        const AlarmSound other{1, 2, "next", "/next.mp3"};
        ASSERT_TRUE(list.SaveSounds("0", {c.saved, other})) << c.what;
        EXPECT_EQ(ReadBytes(db_), "0\r\n" + c.line + "\r\n1|2|next|/next.mp3") << c.what;
        QList<AlarmSound> sounds;
        EXPECT_EQ(list.LoadSounds(sounds), "0") << c.what;
        EXPECT_EQ(sounds, (QList<AlarmSound>{c.loaded, other})) << c.what;
    }
}

TEST_F(AlarmSoundListTest, RefusesEntriesThatCannotBeStoredAndKeepsTheOldFile) {
    // A file name whose bytes are not valid text, as the file dialogs would hand it over.
    ASSERT_TRUE(WriteBytes(QFile::decodeName(QFile::encodeName(run_) + "/bad\xff.mp3"), "x"));
    const QStringList listed = QDir(run_).entryList({"bad*"}, QDir::Files);
    ASSERT_EQ(listed.size(), 1);
    const QString undecodable = run_ + "/" + listed.front();

    AlarmSoundList list(run_);
    const QByteArray before = ReadBytes(db_);
    const AlarmSound bad[] = {
        {1, 1, "a", undecodable},
        {1, 1, "a", "/x\r\n0|0|y|/y"},
        {1, 1, "a", "/x\ny"},
        {1, 1, "a", QString(QChar(0xDC00))},
        {1, 1, QString(QChar(0xD800)), "/x"},
    };
    for (const AlarmSound& s : bad) {
        EXPECT_FALSE(AlarmSoundList::CanStore(s)) << s.filePath.toStdString();
        EXPECT_FALSE(list.SaveSounds("0", {{1, 1, "ok", "/ok"}, s})) << s.filePath.toStdString();
    }
    EXPECT_FALSE(list.SaveSounds("1\r\n1|1|x|/x", {}));
    EXPECT_EQ(ReadBytes(db_), before);
    EXPECT_TRUE(AlarmSoundList::CanStore({1, 1, "a|b\n", "/a|b"}));
}

TEST_F(AlarmSoundListTest, AFailedSaveLeavesTheOldList) {
    AlarmSoundList list(run_);
    const QByteArray before = ReadBytes(db_);
    {
        test::FileSizeLimit full(8);
        EXPECT_FALSE(list.SaveSounds("1", {{1, 1, "a long enough name", "/some/path.mp3"}}));
    }
    EXPECT_EQ(ReadBytes(db_), before);
    EXPECT_FALSE(AlarmSoundList(run_ + "/no/such/folder").SaveSounds("0", {}));
}

}  // namespace
}  // namespace tolvane
