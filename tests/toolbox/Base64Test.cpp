// Decoding of the stored dialogue texts.
#include <gtest/gtest.h>

#include "platform/GbkText.h"
#include "toolbox/Base64.h"
#include "toolbox/SyncTexts.h"

namespace tolvane::toolbox {
namespace {

TEST(Base64Decode, DecodesStandardTextAndDropsPadding) {
    const struct {
        const char* in;
        QByteArray out;
    } cases[] = {
        {"TWFu", "Man"},
        {"TWE=", "Ma"},
        {"TQ==", "M"},
        {"aGVsbG8gd29ybGQ=", "hello world"},
        {"+/+/", QByteArray("\xfb\xff\xbf", 3)},
        {"AAAA", ""},                          // zero bytes are not appended
        {"EABB", QByteArray("\x10\x41", 2)},   // ... wherever they come
        {"", ""},                              // empty input
        {"TWF", ""},                           // not a multiple of 4
        {"TWFuT", ""},
        {"TW*u", ""},                          // a byte outside the alphabet
        {"T=Fu", ""},                          // "=" only closes a text
        {"T===", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Base64Decode(c.in), c.out) << c.in;
}

TEST(Base64Decode, RoundTripsGbkTextOnceUnpadded) {
    // Stored texts drop their "=", and are padded back before decoding.
    for (const char* text : {"请问", "Rovik 说", "2008年8月8日20时", "网络对时之Chronvex by Rovik"}) {
        const QByteArray gbk = platform::ToGbk(QString::fromUtf8(text));
        QByteArray stored = gbk.toBase64();
        while (stored.endsWith('='))
            stored.chop(1);
        EXPECT_EQ(Base64Decode(PadBase64(stored)), gbk) << text;
    }
    EXPECT_EQ(PadBase64("x+vOyg"), "x+vOyg==");
    EXPECT_EQ(PadBase64("TWFu"), "TWFu");
}

QString DecodeStored(const char* stored) {
    QString text;
    EXPECT_TRUE(platform::DecodeGbk(Base64Decode(PadBase64(stored)), text)) << stored;
    return text;
}

TEST(SyncTexts, StoredTextsDecodeToTheirGbkTexts) {
    const char* titles[] = {
        "网络对时之Chronvex by Rovik",
        "突然间跑出来的？？？ 说",
        "请问",
        "Rovik 说",
        "网络对时之Chronvex by Rovik - 连接失败",
        "网络对时之Chronvex by Rovik - 对时成功",
    };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(DecodeStored(sync_texts::kTitles[i]), QString::fromUtf8(titles[i]));
    EXPECT_EQ(DecodeStored(sync_texts::kSecretMoment[0]), QStringLiteral("2008年8月8日20时"));

    // The two answers have the forms the quiz asks for.
    EXPECT_EQ(Base64Decode(PadBase64(sync_texts::kAnswer1)).size(), 14);
    const QString answer2 = DecodeStored(sync_texts::kAnswer2);
    EXPECT_EQ(platform::ToGbk(answer2).size(), 12);
    EXPECT_EQ(answer2.size(), 10);  // two Chinese characters, seven letters, one digit

    // Every monologue line is non-empty GBK.
    for (const sync_texts::MonologueBox& box : sync_texts::kMonologue)
        for (const char* line : box.lines)
            EXPECT_FALSE(DecodeStored(line).isEmpty());
}

}  // namespace
}  // namespace tolvane::toolbox
