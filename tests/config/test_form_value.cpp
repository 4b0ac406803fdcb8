// The configuration value without any window: what its text and its file
// carry back through the shipped script, how two values differ in the
// form's words, and how a read-back is compared with what was sent.
#include <QTemporaryDir>
#include <QtTest>

#include "config/assembly.h"
#include "config/config_file.h"
#include "config/read_back.h"
#include "random_value.h"
#include "script/script_fixture.h"

using namespace random_form;

namespace {

// A value as a user may leave it, with every field the build would refuse
// emptied and the password set, so that it builds.
config::FormValue randomValue(QRandomGenerator &random)
{
    config::FormValue value = config::startValue();
    fillRandomly(value, random);
    value.manpw = QStringLiteral("0123456789abcdef");
    clearBrokenFields(value);
    return value;
}

// The start value of a reader of the same series, as an import starts.
config::FormValue sameSeries(const config::FormValue &value)
{
    config::FormValue start = config::startValue();
    for (const QString &series : kSeries)
        start.*fieldNamed(series).flag = value.*fieldNamed(series).flag;
    return start;
}

QString roundTripLoss(const config::FormValue &sent, const config::Imported &back, const QString &text)
{
    QString lost = differences(carried(formState(sent)), formState(back.value));
    if (!back.notShown.isEmpty())
        lost += "\nnot shown: " + back.notShown.join(", ");
    return lost.isEmpty() ? QString() : text + ":\n" + lost;
}

} // namespace

class FormValueTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(script.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT))); }

    // Whatever a text built from a value carries comes back as it was, and
    // nothing of it is a value the form could not show.
    void textCarriesBackEveryValue()
    {
        QRandomGenerator random(20261208);
        StreamCapture quiet(stderr);
        for (int round = 0; round < 300; ++round) {
            const config::FormValue sent = randomValue(random);
            const config::Assembly built = config::assemble(sent);
            QVERIFY2(!built.refusal, qPrintable(built.refusal ? built.refusal->text : QString()));
            lua_State *lua = script_open();
            const config::ImportResult back =
                config::importReaderText(sameSeries(sent), lua, built.text.toUtf8().constData());
            script_close(lua);
            QVERIFY(!back.refusal);
            const QString lost = roundTripLoss(sent, back.imported, built.text);
            QVERIFY2(lost.isEmpty(), qPrintable(QString("round %1, %2").arg(round).arg(lost)));
        }
    }

    void fileCarriesBackEveryValue()
    {
        QRandomGenerator random(20261209);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("round.tcfg"));
        StreamCapture quiet(stderr);
        for (int round = 0; round < 100; ++round) {
            const config::FormValue sent = randomValue(random);
            const config::FileContents file = config::fileContents(sent);
            QVERIFY(!file.refusal);
            QVERIFY(!config::writeConfigFile(path, file.bytes));
            const config::ImportResult back = config::openConfigFile(sameSeries(sent), path);
            QVERIFY2(!back.refusal, qPrintable(back.refusal.value_or(QString())));
            const QString lost = roundTripLoss(sent, back.imported, QString::fromUtf8(file.bytes));
            QVERIFY2(lost.isEmpty(), qPrintable(QString("round %1, %2").arg(round).arg(lost)));
        }
    }

    // One line per setting, a radio set as one setting; passwords never.
    void differencesInTheFormsWords_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("nothing") << QStringList{} << QStringList{};
        QTest::newRow("a channel") << QStringList{"wifiOut"} << QStringList{"输出方式(必选项): USB键盘 → WIFI"};
        QTest::newRow("a box and a text")
            << QStringList{"!qrCheck", "linePrefix=AB"} << QStringList{"QR码: ☑ → ☐", "扫码前缀:  → AB"};
        QTest::newRow("a set left empty") << QStringList{"!tcpO"} << QStringList{"WIFI输出方式 : TCP → "};
        QTest::newRow("combo and slider") << QStringList{"baudRate=9600", "brightadjust=7"}
                                          << QStringList{"波特率：: 115200 → 9600", "亮度调节：: 200 → 7"};
        QTest::newRow("passwords") << QStringList{"manpw=0123456789abcdef", "changepwcheck", "newpw=x",
                                                  "confimpw=x"}
                                   << QStringList{};
        QTest::newRow("secrets masked")
            << QStringList{"wifipasswd=Hunter2-Secret", "httpaddr=http://u:Pw-Secret@h/p?token=Tk-Secret"}
            << QStringList{"WIFI密码:  → ********", "HTTP服务器地址:  → http://u@h/p?token=***"};
    }

    void differencesInTheFormsWords()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, lines);
        config::FormValue after = config::startValue();
        fillValue(after, steps);
        QStringList got;
        for (const config::SettingChange &change : config::differences(config::startValue(), after))
            got << QString::fromUtf8(change.setting) + ": " + change.before + " → " + change.after;
        QCOMPARE(got, lines);
        // What a record keeps of the value holds none of them either.
        const QByteArray kept = config::fileContents(config::withoutSecrets(after)).bytes;
        QVERIFY2(!kept.contains("Secret"), kept.constData());
    }

    // Every key sent must come back with its value as the script reads it.
    void readBackComparedKeyByKey_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("readBack");
        QTest::addColumn<QString>("differing"); // key, or empty
        QTest::newRow("the same") << QByteArray("cr=1,prefix='a,b'") << QByteArray("prefix='a,b',cr=1") << "";
        QTest::newRow("more kept by the reader") << QByteArray("cr=1") << QByteArray("cr=1,nl=0,x=2") << "";
        QTest::newRow("a mask no box stands for")
            << QByteArray("de_type=1") << QByteArray("de_type=3") << "de_type";
        QTest::newRow("a flag out of range") << QByteArray("cr=1") << QByteArray("cr=2") << "cr";
        QTest::newRow("a value missing") << QByteArray("cr=1,prefix=''") << QByteArray("cr=1") << "prefix";
        QTest::newRow("a long value for an empty one")
            << QByteArray("prefix=''") << "prefix='" + QByteArray(250, 'x') + "'"
            << "prefix";
        QTest::newRow("a long value the same") << "prefix='" + QByteArray(300, 'x') + "'"
                                               << "prefix='" + QByteArray(300, 'x') + "'"
                                               << "";
        QTest::newRow("long values apart at their end") << "prefix='" + QByteArray(299, 'x') + "y'"
                                                        << "prefix='" + QByteArray(300, 'x') + "'"
                                                        << "prefix";
        QTest::newRow("the work mode's entry") << QByteArray("chk_env=0") << QByteArray("chk_env=1") << "chk_env";
        QTest::newRow("no password back")
            << QByteArray("cr=1,com_passwd='0123456789abcdef'") << QByteArray("cr=1") << "";
    }

    void readBackComparedKeyByKey()
    {
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, readBack);
        QFETCH(QString, differing);
        StreamCapture quiet(stderr);
        const config::ReadBackCheck check = config::compareReadBack(sent, readBack);
        QVERIFY(!check.failure);
        QCOMPARE(check.difference ? check.difference->key : QString(), differing);
    }

    // A changed script reads the texts anew, sent and read back, however
    // often the same texts were compared before.
    void changedScriptReadsTheSentTextAgain()
    {
        const QByteArray answersText = "local text = ''\n"
                                       "function updatecfg(t) text = t end\n"
                                       "function getvalue_str(key) if key == 'cr' then return text end end\n";
        QByteArray answersOne = answersText;
        answersOne.replace("return text", "return '1'");
        ScriptDir dir;
        StreamCapture quiet(stderr);
        QVERIFY(dir.write(answersText));
        QCOMPARE(config::compareReadBack("cr=1", "cr=1,nl=0").difference->key, QStringLiteral("cr"));
        QVERIFY(dir.write(answersOne));
        QVERIFY(!config::compareReadBack("cr=1", "cr=1,nl=0").difference);
        QVERIFY(dir.write(answersText));
        QCOMPARE(config::compareReadBack("cr=1", "cr=1,nl=0").difference->key, QStringLiteral("cr"));
    }

private:
    ScriptDir script;
};

QTEST_MAIN(FormValueTest)
#include "test_form_value.moc"
