#include "toolbox/NetworkTimeSync.h"

#include "platform/GbkText.h"
#include "platform/IniFile.h"
#include "toolbox/Base64.h"
#include "toolbox/DateTime.h"
#include "toolbox/SyncTexts.h"

namespace tolvane::toolbox {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QByteArray kDateMarker = "document.write('20";
const QByteArray kHourMarker = "var hrs = ";
const QByteArray kMinuteMarker = "var min = ";
const QByteArray kSecondMarker = "var sec = ";
constexpr int kDateBytes = 14;

QByteArray DecodeBytes(const char* stored) {
    return Base64Decode(PadBase64(QByteArray(stored)));
}

QString Decode(const char* stored) {
    return platform::FromGbk(DecodeBytes(stored));
}

QString Decode(const sync_texts::StoredLines& lines) {
    QStringList decoded;
    for (const char* line : lines)
        decoded << Decode(line);
    return decoded.join(kLineBreak);
}

DateTime Now(const platform::Clock& clock) {
    const platform::LocalTime t = clock.now();
    return {t.date.year(), t.date.month(), t.date.day(),
            t.time.hour(), t.time.minute(), t.time.second()};
}

// Lead bytes of GBK two-byte characters.
bool IsLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

// The number in the two bytes just behind `marker`, 0 when the marker is missing.
int FieldBehind(const QByteArray& page, const QByteArray& marker) {
    const int p = FindGbkMarker(page, marker);
    if (p < 1)
        return 0;
    const QByteArray two = page.mid(p - 1 + marker.size(), 2);
    return TextToInt(QString::fromLatin1(two));
}

}  // namespace

QUrl ReadTimePageUrl(const QString& configPath) {
    const QString value =
        platform::IniFile(configPath).read(QStringLiteral("Toolbox"), QStringLiteral("TimeUrl"))
            .trimmed();
    return QUrl(value.isEmpty() ? kDefaultTimePageUrl : value);
}

int FindGbkMarker(const QByteArray& text, const QByteArray& marker) {
    if (marker.isEmpty())
        return -1;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i + marker.size() <= n;) {
        if (text.mid(i, marker.size()) == marker)
            return static_cast<int>(i + 1);
        i += IsLeadByte(text[i]) && i + 1 < n ? 2 : 1;
    }
    return -1;
}

NetworkTimeSync::NetworkTimeSync(const platform::Clock& clock, platform::HttpGetter& http,
                                 platform::SystemClockSetter& clockSetter,
                                 UserDialogs& dialogs, QUrl pageUrl)
    : clock_(clock),
      http_(http),
      clockSetter_(clockSetter),
      dialogs_(dialogs),
      pageUrl_(std::move(pageUrl)) {}

QString NetworkTimeSync::title(int number) const { return titles_[number - 1]; }

void NetworkTimeSync::run() {
    for (int i = 0; i < 6; ++i)
        titles_[i] = Decode(sync_texts::kTitles[i]);
    const DialogAnswer answer = dialogs_.message(Decode(sync_texts::kWelcome), title(1),
                                                 DialogButtons::YesNo, DialogIcon::None);
    if (answer == DialogAnswer::Yes)
        synchronise();
    else
        cancel();
}

void NetworkTimeSync::synchronise() {
    auto connectFailed = [&] {
        dialogs_.message(Decode(sync_texts::kConnectFailed), title(5), DialogButtons::Ok,
                         DialogIcon::None);
    };

    const DateTime t0 = Now(clock_);
    QByteArray page;
    if (!http_.get(pageUrl_, page))
        page.clear();
    // The page is read as text, which ends at a zero byte.
    const qsizetype zero = page.indexOf('\0');
    if (zero >= 0)
        page.truncate(zero);

    int p = FindGbkMarker(page, kDateMarker);
    if (p >= 1)
        p += kDateMarker.size();
    // The date starts at the "20" of the year, two bytes before p.
    QByteArray dateBytes;
    const int start = p - 2;
    if (start >= 1 && start <= page.size())
        dateBytes = page.mid(start - 1, kDateBytes);
    dateBytes.replace("'", "");
    const QString dateText = platform::FromGbk(dateBytes);
    if (DateTimeText(ParseDateTime(dateText)) == kInvalidDateTimeText) {
        connectFailed();
        return;
    }

    const int h = FieldBehind(page, kHourMarker);
    const int m = FieldBehind(page, kMinuteMarker);
    const int s = FieldBehind(page, kSecondMarker);
    const double elapsed = DateTimeDiff(Now(clock_), t0, DateUnit::Second);
    const QString fullText = dateText + QString::number(h) + QStringLiteral("时") +
                             QString::number(m) + QStringLiteral("分") + QString::number(s) +
                             QStringLiteral("秒");
    const DateTime pageTime = ParseDateTime(fullText);
    // A page whose time numbers do not form a time would otherwise send the clock to the
    // invalid value; treat it like any other unusable page.
    if (pageTime == kInvalidDateTime) {
        connectFailed();
        return;
    }
    const DateTime t =
        AddToDateTime(pageTime, DateUnit::Second, static_cast<qint64>(elapsed));
    if (t == kInvalidDateTime) {
        connectFailed();
        return;
    }

    QString reason;
    const QDateTime target(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
    if (!clockSetter_.set(target, reason)) {
        QString text = Decode(sync_texts::kSetRefusedHead);
        if (!reason.isEmpty())
            text += kLineBreak + Decode(sync_texts::kSetRefusedReason) + reason;
        text += kLineBreak + Decode(sync_texts::kSetRefusedTail);
        dialogs_.message(text, Decode(sync_texts::kSetRefusedTitle), DialogButtons::Ok,
                         DialogIcon::None);
        return;
    }
    dialogs_.message(Decode(sync_texts::kSyncDone), title(6), DialogButtons::Ok,
                     DialogIcon::None);
}

void NetworkTimeSync::cancel() {
    dialogs_.message(Decode(sync_texts::kCancelled), title(1), DialogButtons::Ok,
                     DialogIcon::None);
    // The moment is read when the box has been closed.
    if (DateTimeText(Now(clock_)) == Decode(sync_texts::kSecretMoment))
        hiddenDialogue();
}

void NetworkTimeSync::hiddenDialogue() {
    using enum DialogButtons;
    const QString merrow = Decode(sync_texts::kMerrowTitle);
    auto ok = [&](const sync_texts::StoredLines& text, const QString& boxTitle) {
        dialogs_.message(Decode(text), boxTitle, Ok, DialogIcon::None);
    };
    auto yes = [&](const sync_texts::StoredLines& text, const QString& boxTitle) {
        return dialogs_.message(Decode(text), boxTitle, YesNo, DialogIcon::None) ==
               DialogAnswer::Yes;
    };
    auto thanks = [&] { ok(sync_texts::kThanks, Decode(sync_texts::kThanksTitle)); };

    if (!yes(sync_texts::kQuizInvite, title(2)))
        return;
    ok(sync_texts::kQuizAside, merrow);
    if (!yes(sync_texts::kQuizUseful, title(3)) || !yes(sync_texts::kQuizKnowWhy, title(3))) {
        thanks();
        return;
    }
    const QString askTitle = title(3) + QStringLiteral("~~");
    const QString answer1 = dialogs_.input(Decode(sync_texts::kQuizWhyPrompt), askTitle, true);
    const QString answer2 =
        dialogs_.input(Decode(sync_texts::kQuizBirthdayPrompt), askTitle, true);
    if (platform::ToGbk(answer1) != DecodeBytes(sync_texts::kAnswer1) ||
        platform::ToGbk(answer2) != DecodeBytes(sync_texts::kAnswer2))
        return;
    if (yes(sync_texts::kQuizVirus, title(4)))
        return;
    const DialogAnswer run = dialogs_.message(
        Decode(sync_texts::kQuizVirusLoaded), Decode(sync_texts::kQuizVirusLoadedTitle),
        AbortRetryIgnore, DialogIcon::Stop);
    if (run != DialogAnswer::Retry)
        return;
    for (const sync_texts::MonologueBox& box : sync_texts::kMonologue)
        ok(box.lines, box.merrowSpeaks ? merrow : title(4));
}

}  // namespace tolvane::toolbox
