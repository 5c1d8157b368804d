#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <thread>

#include "core/Scheduler.h"
#include "core/TaskStore.h"
#include "core_test_util.h"

using namespace tolvane;

TEST(TaskStore, FirstStartCreatesOnlyTheDefaultRecord) {
    QTemporaryDir dir;
    {
        TaskStore store(dir.path());
        test::NullPresenter presenter;
        platform::FakeClock clock;
        Scheduler scheduler(store, clock, presenter);
        EXPECT_FALSE(store.Exists());
        scheduler.EnsureTaskStore();
        ASSERT_TRUE(store.Exists());
        EXPECT_EQ(store.RecordCount(), 1);
        EXPECT_EQ(store.ReadB(1), QByteArray(2, '\0'));
        EXPECT_EQ(store.ReadC(1), QByteArray(3, '\0'));
        EXPECT_EQ(store.ReadD(1), "0");
        EXPECT_EQ(store.ReadE(1), "0|1|");
        EXPECT_FALSE(store.IsDeleted(1));
    }
    QFile f(dir.filePath("task.edb"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    {
        // A second start changes nothing, and Open twice is harmless.
        TaskStore store(dir.path());
        test::NullPresenter presenter;
        platform::FakeClock clock;
        Scheduler scheduler(store, clock, presenter);
        scheduler.EnsureTaskStore();
        EXPECT_TRUE(store.Open());
        EXPECT_TRUE(store.Open());
        EXPECT_EQ(store.RecordCount(), 1);
        EXPECT_FALSE(store.Create());  // never over an existing file
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST(TaskStore, NumberingDeletedMarksAndPurge) {
    test::TempStore t;
    for (int i = 2; i <= 5; ++i) ASSERT_TRUE(t.store.AddRecord(test::Task(test::Daily(), {10, 0, i}, "1#" + QString::number(i))));
    ASSERT_EQ(t.store.RecordCount(), 5);
    const qint64 key5 = t.store.KeyOf(5);

    t.store.DeleteRecord(3);
    EXPECT_EQ(t.store.RecordCount(), 5);
    EXPECT_TRUE(t.store.IsDeleted(3));
    EXPECT_FALSE(t.store.IsDeleted(4));

    t.store.DeleteRecord(99);  // no such record: nothing happens
    EXPECT_TRUE(t.store.Purge());
    EXPECT_EQ(t.store.RecordCount(), 4);
    EXPECT_EQ(t.store.ReadD(3), "1#4");
    EXPECT_EQ(t.store.ReadD(4), "1#5");
    EXPECT_EQ(t.store.ReadD(5), "");
    EXPECT_EQ(t.store.NumberOfKey(key5), 4);  // the key follows the task
    EXPECT_EQ(t.store.KeyOf(4), key5);

    // A new record takes the next number; keys are never reused.
    ASSERT_TRUE(t.store.AddRecord(test::Task(test::Daily(), {1, 2, 3}, "1new")));
    EXPECT_EQ(t.store.RecordCount(), 5);
    EXPECT_GT(t.store.KeyOf(5), key5);
}

TEST(TaskStore, UpdateWithOneFieldKeepsTheOthers) {
    test::TempStore t;
    for (int i = 2; i <= 5; ++i) ASSERT_TRUE(t.store.AddRecord(test::Task(test::Daily(), {8, 30, 0}, "1起床")));
    ASSERT_TRUE(t.store.UpdateRecord(5, {QByteArray("\x00\x01", 2), {}, {}, {}}));
    EXPECT_EQ(t.store.ReadB(5), QByteArray("\x00\x01", 2));
    EXPECT_EQ(t.store.ReadC(5), QByteArray("\x08\x1e\x00", 3));
    EXPECT_EQ(t.store.ReadD(5), "1起床");
    EXPECT_EQ(t.store.ReadE(5), "0|1|");
}

TEST(TaskStore, ByteLayoutsOfScheduleAndTime) {
    test::TempStore t;
    // Weekly on Sunday and Wednesday; monthly on the 1st and 31st.
    const QByteArray weekly = test::Weekly({1, 4});
    EXPECT_EQ(weekly, QByteArray("\x01\x02\x01\x00\x00\x01\x00\x00\x00", 9));
    const QByteArray monthly = test::Monthly({1, 31});
    ASSERT_EQ(monthly.size(), 33);
    EXPECT_EQ(monthly[2], 1);
    EXPECT_EQ(monthly[32], 1);
    EXPECT_EQ(monthly.count('\x01'), 3);  // enabled flag + two days
    ASSERT_TRUE(t.store.AddRecord(test::Task(weekly, {23, 59, 59}, "0")));
    ASSERT_TRUE(t.store.AddRecord(test::Task(monthly, {0, 0, 0}, "1")));
    EXPECT_EQ(t.store.ReadB(2), weekly);
    EXPECT_EQ(t.store.ReadC(2), QByteArray("\x17\x3b\x3b", 3));
    EXPECT_EQ(t.store.ReadB(3), monthly);
    EXPECT_EQ(t.store.ReadC(3), QByteArray(3, '\0'));
}

// A failed add or update leaves the store exactly as it was.
TEST(TaskStore, FailedWritesChangeNothing) {
    test::TempStore t;
    ASSERT_TRUE(t.store.AddRecord(test::Task(test::Daily(), {7, 0, 0}, "1旧")));

    EXPECT_FALSE(t.store.AddRecord({test::Daily(), QByteArray(3, '\0'), QStringLiteral("1"), std::nullopt}));
    EXPECT_EQ(t.store.RecordCount(), 2);

    EXPECT_FALSE(t.store.UpdateRecord(7, {test::Daily(), {}, {}, {}}));  // no record 7
    EXPECT_EQ(t.store.RecordCount(), 2);

    // Make every write fail: a trigger that aborts updates and inserts.
    test::ExecSql(t.dir.filePath("task.edb"),
                  "CREATE TRIGGER no_update BEFORE UPDATE ON records BEGIN SELECT RAISE(ABORT, 'x'); END;"
                  "CREATE TRIGGER no_insert BEFORE INSERT ON records BEGIN SELECT RAISE(ABORT, 'x'); END;");
    EXPECT_FALSE(t.store.UpdateRecord(2, test::Task(test::Daily(), {9, 9, 9}, "1新")));
    EXPECT_FALSE(t.store.IsDeleted(2));
    EXPECT_EQ(t.store.ReadD(2), "1旧");
    EXPECT_EQ(t.store.ReadC(2), QByteArray("\x07\x00\x00", 3));
    EXPECT_FALSE(t.store.AddRecord(test::Task(test::Daily(), {9, 9, 9}, "1新")));
    EXPECT_EQ(t.store.RecordCount(), 2);
}

TEST(TaskStore, LongTextsAreStoredWhole) {
    test::TempStore t;
    const QString prompt = "1" + QString(300, QChar(0x949F));
    ASSERT_TRUE(t.store.AddRecord(test::Task(test::Daily(), {1, 1, 1}, prompt)));
    EXPECT_EQ(t.store.ReadD(2), prompt);
}

// Operations from several threads interleave safely (one lock per operation).
TEST(TaskStore, ConcurrentOperationsStayConsistent) {
    test::TempStore t;
    std::vector<std::thread> threads;
    for (int w = 0; w < 3; ++w) {
        threads.emplace_back([&, w] {
            for (int i = 0; i < 50; ++i) {
                ASSERT_TRUE(t.store.AddRecord(test::Task(test::Daily(), {w, i, 0}, "1x")));
                if (i % 5 == 0) t.store.DeleteRecord(t.store.RecordCount());
                if (i % 10 == 0) t.store.Purge();
                (void)t.store.Snapshot();
            }
        });
    }
    for (auto& th : threads) th.join();
    t.store.Purge();
    const auto rows = t.store.Snapshot();
    ASSERT_EQ(static_cast<int>(rows.size()), t.store.RecordCount());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].number, static_cast<int>(i) + 1);
        EXPECT_FALSE(rows[i].deleted);
    }
}
