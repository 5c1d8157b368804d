#pragma once
// The network time sync's dialogue texts, each stored only as Base64 of its GBK bytes
// (mostly without the closing "=") and decoded when it is shown. The data lives in
// SyncTexts.cpp, which tools/encode_sync_texts.py writes.
#include <initializer_list>
#include <vector>

namespace tolvane::toolbox::sync_texts {

// The lines of one box, each stored on its own; they are joined by CR LF when shown.
using StoredLines = std::vector<const char*>;

// Titles 1 to 6 (index 0 to 5): the sync itself, the surprise guest, the question, the
// author, the connection failure, the success.
extern const char* const kTitles[6];

extern const StoredLines kWelcome;
extern const StoredLines kConnectFailed;
extern const StoredLines kSyncDone;
extern const StoredLines kSetRefusedTitle;
extern const StoredLines kSetRefusedHead;
extern const StoredLines kSetRefusedReason;  // followed by the system's reason, plain
extern const StoredLines kSetRefusedTail;
extern const StoredLines kCancelled;
extern const StoredLines kSecretMoment;  // the date-time text that opens the quiz
extern const StoredLines kQuizInvite;
extern const StoredLines kMerrowTitle;
extern const StoredLines kQuizAside;
extern const StoredLines kQuizUseful;
extern const StoredLines kQuizKnowWhy;
extern const StoredLines kQuizWhyPrompt;
extern const StoredLines kQuizBirthdayPrompt;
extern const StoredLines kQuizVirus;
extern const StoredLines kQuizVirusLoadedTitle;
extern const StoredLines kQuizVirusLoaded;
extern const StoredLines kThanksTitle;
extern const StoredLines kThanks;

// The two expected quiz answers, compared byte for byte with what was typed.
extern const char* const kAnswer1;
extern const char* const kAnswer2;

struct MonologueBox {
    bool merrowSpeaks;  // titled "Merrow 说" instead of title 4
    StoredLines lines;
};
extern const MonologueBox kMonologue[25];

}  // namespace tolvane::toolbox::sync_texts
