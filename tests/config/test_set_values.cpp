// Values set for single keys over a form, as --set and a site sheet give
// them: what the script reads and the field rules take comes out in the
// file, everything else is refused naming its key.
#include <QtTest>

#include "config/config_file.h"
#include "config/set_values.h"
#include "script/script_fixture.h"

class SetValuesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(script.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT))); }

    void valueTakenOrRefused_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("expected"); // in the file when taken, else in the refusal
        QTest::newRow("a device number") << "devnum"
                                         << "12" << true << "devnum=12,";
        QTest::newRow("a brightness") << "brightness"
                                      << "150" << true << "brightness=150,";
        QTest::newRow("a text with a comma") << "prefix"
                                             << "a,b" << true << "prefix='a,b',";
        QTest::newRow("a key the text lacks") << "colour"
                                              << "red" << false << "colour";
        QTest::newRow("a number of letters") << "devnum"
                                             << "abc" << false << "devnum";
        QTest::newRow("a port out of its rule") << "port"
                                                << "70000" << false << "port";
        QTest::newRow("an address that is none") << "ip"
                                                 << "300.1.1.1" << false << "ip";
        QTest::newRow("a brightness the slider lacks") << "brightness"
                                                       << "999" << false << "brightness";
        QTest::newRow("a quote before a comma") << "prefix"
                                                << "a',devnum=1" << false << "prefix";
        QTest::newRow("a line break") << "prefix"
                                      << "a\nb" << false << "prefix";
    }

    void valueTakenOrRefused()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, taken);
        QFETCH(QString, expected);
        const config::SetResult set = config::withValuesSet(config::startValue(), {{key, value}});
        QCOMPARE(!set.refusal, taken);
        if (set.refusal) {
            QVERIFY2(set.refusal->contains(expected), qPrintable(*set.refusal));
            QCOMPARE(config::fileContents(set.value).bytes, config::fileContents(config::startValue()).bytes);
        } else {
            QVERIFY2(config::fileContents(set.value).bytes.contains(expected.toUtf8()),
                     config::fileContents(set.value).bytes.constData());
        }
    }

    // The later of two values for one key wins, as in a text.
    void laterValueWins()
    {
        const config::SetResult set =
            config::withValuesSet(config::startValue(), {{"devnum", "1"}, {"brightness", "90"}, {"devnum", "2"}});
        QVERIFY(!set.refusal);
        const QByteArray file = config::fileContents(set.value).bytes;
        QVERIFY2(file.contains("devnum=2,") && file.contains("brightness=90,"), file.constData());
    }

private:
    ScriptDir script;
};

QTEST_MAIN(SetValuesTest)
#include "test_set_values.moc"
