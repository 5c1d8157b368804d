#include <gtest/gtest.h>

#include "platform/GbkText.h"

using namespace tolvane::platform;

TEST(GbkText, RoundTripsGbkAndBeyond) {
    struct Case { QString text; QByteArray bytes; };
    const Case cases[] = {
        {QStringLiteral("abc"), QByteArray("abc")},
        {QStringLiteral("时间到了"), QByteArray("\xca\xb1\xbc\xe4\xb5\xbd\xc1\xcb")},
        // Outside GBK: four-byte GB18030 sequences, still lossless.
        {QString::fromUtf8("\xf0\x9f\x98\x80"), QByteArray("\x94\x39\xfc\x36")},
    };
    for (const Case& c : cases) {
        QByteArray bytes;
        ASSERT_TRUE(EncodeGbk(c.text, bytes)) << c.text.toStdString();
        EXPECT_EQ(bytes, c.bytes) << c.text.toStdString();
        QString back;
        ASSERT_TRUE(DecodeGbk(bytes, back));
        EXPECT_EQ(back, c.text);
    }
    EXPECT_EQ(GbkLength(QStringLiteral("闹钟ab")), 6);
}

TEST(GbkText, RefusesWhatCannotBeStoredFaithfully) {
    QByteArray bytes("x");
    EXPECT_FALSE(EncodeGbk(QString(QChar(0xD800)), bytes));  // lone surrogate
    EXPECT_TRUE(bytes.isEmpty());
    QString text = QStringLiteral("x");
    EXPECT_FALSE(DecodeGbk(QByteArray("\x81"), text));  // truncated double-byte character
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(FromGbk(QByteArray("a\x81")), QStringLiteral("a") + QChar(0xFFFD));
}
