// A batch's reports come back on the thread that started it, every started
// link's report before the batch returns, stopped or not.
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/reader_batch.h"

class ReaderBatchTest : public QObject
{
    Q_OBJECT

private slots:
    void reportsOnTheCallingThread_data()
    {
        QTest::addColumn<int>("links");
        QTest::addColumn<int>("jobs");
        QTest::addColumn<int>("stopAfter"); // reports, 0 for never

        QTest::newRow("one link") << 1 << 16 << 0;
        QTest::newRow("more links than jobs") << 40 << 4 << 0;
        QTest::newRow("more jobs than links") << 3 << 16 << 0;
        QTest::newRow("stopped after the first") << 40 << 4 << 1;
        QTest::newRow("stopped one at a time") << 10 << 1 << 3;
    }

    void reportsOnTheCallingThread()
    {
        QFETCH(int, links);
        QFETCH(int, jobs);
        QFETCH(int, stopAfter);
        QStringList all;
        for (int i = 0; i < links; ++i)
            all << QStringLiteral("tcp:127.0.0.1:%1").arg(10000 + i);
        std::atomic<bool> stopping{false};
        std::atomic<int> started{0};
        QStringList reported;
        bool elsewhere = false;
        const std::thread::id caller = std::this_thread::get_id();
        forEachLinkReported(
            all, jobs,
            [&](const QString &link) -> std::function<void()> {
                ++started;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                return [&, link] {
                    elsewhere = elsewhere || std::this_thread::get_id() != caller;
                    reported << link;
                    if (reported.size() == stopAfter)
                        stopping = true;
                };
            },
            &stopping);
        QVERIFY(!elsewhere);
        QCOMPARE(reported.size(), int(started));
        reported.sort();
        reported.removeDuplicates();
        QCOMPARE(reported.size(), int(started));
        if (stopAfter == 0)
            QCOMPARE(reported.size(), links);
        else
            QVERIFY2(reported.size() < links, qPrintable(QString::number(reported.size())));
    }
};

QTEST_GUILESS_MAIN(ReaderBatchTest)
#include "test_reader_batch.moc"
