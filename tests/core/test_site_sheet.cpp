// Site sheets as spreadsheet programs and people write them: what a row
// gives each reader, the lines a refusal names, the bounds, and a sheet
// written back from readers that reads as it was written.
#include <QTemporaryDir>
#include <QtTest>

#include "core/site_sheet.h"

namespace {

// "line|link|place|key=value;…" a row, one a line; "!2" for a sheet that
// cannot be read, "!1" for one refused for a column; "N rows" for a long one.
QString summary(const site_sheet::Sheet &sheet)
{
    if (sheet.problem)
        return sheet.unreadable ? "!2" : "!1";
    if (sheet.rows.size() > 3)
        return QString("%1 rows").arg(sheet.rows.size());
    QStringList rows;
    for (const site_sheet::Row &row : sheet.rows) {
        QStringList values;
        for (const config::KeyValue &value : row.values)
            values << value.key + "=" + value.value;
        rows << QString("%1|%2|%3|%4").arg(row.line).arg(row.link, row.place, values.join(';'));
    }
    return rows.join('\n');
}

QByteArray rows(int count)
{
    QByteArray text = "link,place\n";
    for (int i = 0; i < count; ++i)
        text += "tcp:10.0.0.1:" + QByteArray::number(i + 1) + ",\n";
    return text;
}

} // namespace

class SiteSheetTest : public QObject
{
    Q_OBJECT

private slots:
    void readRows_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QByteArray("link,place,devnum\nA,P,1\n") << "2|A|P|devnum=1";
        QTest::newRow("CRLF and a byte-order mark")
            << QByteArray("\xEF\xBB\xBFlink,place,devnum\r\nA,P,1\r\n") << "2|A|P|devnum=1";
        QTest::newRow("a comma and doubled quotes in quotes")
            << QByteArray("link,place,prefix\nA,\"x, \"\"y\"\"\",\"\"\"\"\n") << "2|A|x, \"y\"|prefix=\"";
        QTest::newRow("a line break in quotes counts its line")
            << QByteArray("link,place\nA,\"two\r\nlines\"\nB,P\n") << "2|A|two\r\nlines|\n4|B|P|";
        QTest::newRow("an empty cell keeps the file's value")
            << QByteArray("link,place,devnum\nA,P,\n") << "2|A|P|";
        QTest::newRow("blank lines") << QByteArray("link,place\n\nA,P\n\n") << "3|A|P|";
        QTest::newRow("columns in any order") << QByteArray("devnum,place,link\n5,P,A") << "2|A|P|devnum=5";
        QTest::newRow("4096 readers") << rows(4096) << "4096 rows";
        QTest::newRow("4097 readers") << rows(4097) << "!2";
        QTest::newRow("more than 1 MiB") << "link,place\nA," + QByteArray(1024 * 1024, 'x') << "!2";
        QTest::newRow("a quote never closed") << QByteArray("link,place\nA,\"P\n") << "!2";
        QTest::newRow("text after a closing quote") << QByteArray("link,place\n\"A\"x,P\n") << "!2";
        QTest::newRow("a row short of a cell") << QByteArray("link,place,devnum\nA,P\n") << "!2";
        QTest::newRow("no place column") << QByteArray("link,devnum\nA,1\n") << "!2";
        QTest::newRow("no UTF-8") << QByteArray("link,place\n\xff,P\n") << "!2";
        QTest::newRow("a NUL") << QByteArray("link,place\nA\0,P\n", 16) << "!2";
        QTest::newRow("nothing") << QByteArray() << "!2";
        QTest::newRow("a header alone") << QByteArray("link,place,devnum\r\n\r\n") << "!2";
        QTest::newRow("a column of no key") << QByteArray("link,place,colour\nA,P,red\n") << "!1";
        QTest::newRow("a key twice") << QByteArray("link,place,devnum,devnum\nA,P,1,2\n") << "!1";
    }

    void readRows()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QFile file(dir.filePath("site.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        QCOMPARE(summary(site_sheet::readSheet(file.fileName())), expected);
    }

    // Only what differs between the readers becomes a column, never a
    // secret; every value reads back as it was.
    void writtenSheetReadsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("back.csv");
        const std::vector<site_sheet::ReadReader> readers{
            {"tcp:10.0.0.1:1",
             "东门, \"A\"",
             {{"devnum", "1"}, {"brightness", "90"}, {"prefix", "a,\"b"}, {"psk", "x"}}},
            {"tcp:10.0.0.2:1", "", {{"devnum", "2"}, {"brightness", "90"}, {"psk", "y"}}}};
        QVERIFY(!site_sheet::writeSheet(path, readers));
        QCOMPARE(summary(site_sheet::readSheet(path)),
                 QString("2|tcp:10.0.0.1:1|东门, \"A\"|prefix=a,\"b;devnum=1\n3|tcp:10.0.0.2:1||devnum=2"));
    }
};

QTEST_MAIN(SiteSheetTest)
#include "test_site_sheet.moc"
