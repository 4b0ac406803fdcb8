// What a save changed, as the success box lists it: every line up to the
// limit, then one line with the count of all.
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
        config::FormValue after = config::startValue();
        after.changepwcheck = true;
        after.newpw = after.confimpw = QStringLiteral("Fresh-Pass-00016");
        const std::vector<ReaderChange> changes = readerChanges(config::startValue(), after, "配置密码将更改");
        QCOMPARE(changesText(changes), QStringLiteral("配置密码将更改"));
    }
};

QTEST_MAIN(ReaderReviewTest)
#include "test_reader_review.moc"
