// What a save changed, as the review and the success box list it: each key
// in the form's words, every line up to the limit, then the count of all.
#include <QtTest>

#include "window/reader_review.h"

class ReaderReviewTest : public QObject
{
    Q_OBJECT

private slots:
    void changesTextIsBounded_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("none") << 0 << 0 << "";
        QTest::newRow("one") << 1 << 1 << "设置0：旧0 → 新0";
        QTest::newRow("at the limit") << 10 << 10 << "设置9：旧9 → 新9";
        QTest::newRow("one over") << 11 << 11 << "…等 11 项";
        QTest::newRow("many") << 40 << 11 << "…等 40 项";
    }

    void changesTextIsBounded()
    {
        QFETCH(int, count);
        QFETCH(int, lines);
        QFETCH(QString, lastLine);
        std::vector<ReaderChange> changes;
        for (int i = 0; i < count; ++i)
            changes.push_back({QString("设置%1").arg(i), "页", QString("旧%1").arg(i), QString("新%1").arg(i)});
        const QString text = changesText(changes);
        const QStringList shown = text.isEmpty() ? QStringList() : text.split('\n');
        QCOMPARE(shown.size(), lines);
        QCOMPARE(shown.isEmpty() ? QString() : shown.last(), lastLine);
    }

    // A password change is one line without values, wherever it stands.
    void passwordChangeIsOneLine()
    {
        QCOMPARE(changesText(readerChanges({}, true, "配置密码将更改")), QStringLiteral("配置密码将更改"));
    }

    // Each key in the form's words, with its group where two keys share
    // them; buttons' numbers as the buttons' captions; secrets as masked.
    void keysInTheFormsWords_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("line");
        QTest::newRow("text field") << "prefix"
                                    << "TV-"
                                    << "A"
                                    << "扫码前缀：TV- → A";
        QTest::newRow("missing on the reader") << "ssid"
                                               << ""
                                               << "office"
                                               << "连入WIFI名： → office";
        QTest::newRow("output channel") << "ochannel"
                                        << "1"
                                        << "8"
                                        << "输出方式(必选项)：USB键盘 → WIFI";
        QTest::newRow("mask of several") << "anfc"
                                         << "0"
                                         << "5"
                                         << "刷卡后行为：（无） → 响蜂鸣器、闪红灯";
        QTest::newRow("a mask no box stands for") << "vg"
                                                  << "1"
                                                  << "7"
                                                  << "韦根输出方式：韦根26 → 7";
        QTest::newRow("check box") << "cr"
                                   << "0"
                                   << "1"
                                   << "回车：☐ → ☑";
        QTest::newRow("shared caption, scan") << "chorc"
                                              << "1"
                                              << "2"
                                              << "前后缀格式（chorc）：char → hex";
        QTest::newRow("shared caption, card") << "horc"
                                              << "0"
                                              << "1"
                                              << "前后缀格式（NFC基本配置）：char → hex";
        QTest::newRow("shared group too") << "p_uart2"
                                          << "a"
                                          << "b"
                                          << "串口参数设置（p_uart2）：a → b";
        QTest::newRow("masked") << "psk"
                                << ""
                                << "********"
                                << "WIFI密码： → ********";
    }

    void keysInTheFormsWords()
    {
        QFETCH(QString, key);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, line);
        const std::vector<ReaderChange> rows = readerChanges({{key, before, after}}, false, QString());
        QCOMPARE(changesText(rows), line);
        QVERIFY(!rows.front().page.isEmpty());
    }
};

QTEST_MAIN(ReaderReviewTest)
#include "test_reader_review.moc"
