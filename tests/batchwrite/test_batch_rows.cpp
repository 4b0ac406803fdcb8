// The batch dialog's rows as a model: rows come, change and go while views
// watch, and only the check and the place are the user's to change.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include "batchwrite/batch_rows.h"

namespace {

// Applies steps such as "add tcp:a", "listed serial:/dev/ttyACM0",
// "outcome 1 failed cause", "remove 0 2" to the rows.
void apply(BatchRows &rows, const QStringList &steps)
{
    const QHash<QString, BatchRows::RowState> states{{"working", BatchRows::Working},
                                                     {"succeeded", BatchRows::Succeeded},
                                                     {"failed", BatchRows::Failed},
                                                     {"unknown", BatchRows::Unknown}};
    for (const QString &step : steps) {
        const QStringList words = step.split(' ');
        if (words[0] == "add" || words[0] == "listed")
            rows.addRow(words[1], words[0] == "listed", false, "maker", "serial");
        else if (words[0] == "outcome")
            rows.setOutcome(words[1].toInt(), states.value(words[2]), words[2], words.value(3));
        else if (words[0] == "remove")
            QVERIFY(rows.removeRows(words[1].toInt(), words[2].toInt()));
    }
}

QStringList column(const BatchRows &rows, int column, int role = Qt::DisplayRole)
{
    QStringList cells;
    for (int row = 0; row < rows.rowCount(); ++row)
        cells << rows.index(row, column).data(role).toString();
    return cells;
}

} // namespace

class BatchRowsTest : public QObject
{
    Q_OBJECT

private slots:
    void rowsFollowTheRun_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QStringList>("outcomes");
        QTest::addColumn<QStringList>("causes");
        QTest::newRow("added") << QStringList{"add tcp:a:1", "listed serial:/dev/ttyACM0"}
                               << QStringList{"tcp:a:1", "serial:/dev/ttyACM0"} << QStringList{"", ""}
                               << QStringList{"", ""};
        QTest::newRow("outcomes as they come")
            << QStringList{"add tcp:a:1", "add tcp:b:1", "outcome 0 working", "outcome 1 failed gone",
                           "outcome 0 succeeded"}
            << QStringList{"tcp:a:1", "tcp:b:1"} << QStringList{"succeeded", "failed"} << QStringList{"", "gone"};
        QTest::newRow("a middle row dropped")
            << QStringList{"add tcp:a:1", "add tcp:b:1", "add tcp:c:1", "outcome 2 unknown late", "remove 1 1"}
            << QStringList{"tcp:a:1", "tcp:c:1"} << QStringList{"", "unknown"} << QStringList{"", "late"};
        QTest::newRow("all dropped, one added")
            << QStringList{"add tcp:a:1", "listed serial:x", "remove 0 2", "add tcp:d:1"}
            << QStringList{"tcp:d:1"} << QStringList{""} << QStringList{""};
        QTest::newRow("a control character of a port shown as a space")
            << QStringList{"listed serial:\x1b[2J"} << QStringList{"serial: [2J"} << QStringList{""}
            << QStringList{""};
    }

    void rowsFollowTheRun()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, links);
        QFETCH(QStringList, outcomes);
        QFETCH(QStringList, causes);
        BatchRows rows;
        QAbstractItemModelTester tester(&rows, QAbstractItemModelTester::FailureReportingMode::QtTest);
        apply(rows, steps);
        QCOMPARE(column(rows, BatchRows::LinkColumn), links);
        QCOMPARE(column(rows, BatchRows::StatusColumn), outcomes);
        QCOMPARE(column(rows, BatchRows::StatusColumn, Qt::ToolTipRole), causes);
        QVERIFY(!rows.removeRows(0, int(links.size()) + 1));
    }

    // Only the link's check and the place are the user's; a check says so
    // once, and only when it changes.
    void whatTheUserChanges_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("role");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<int>("checksSaid");
        QTest::newRow("check") << int(BatchRows::LinkColumn) << int(Qt::CheckStateRole) << QVariant(Qt::Checked)
                               << true << 1;
        QTest::newRow("check already clear")
            << int(BatchRows::LinkColumn) << int(Qt::CheckStateRole) << QVariant(Qt::Unchecked) << true << 0;
        QTest::newRow("place") << int(BatchRows::PlaceColumn) << int(Qt::EditRole) << QVariant("东门") << true
                               << 0;
        QTest::newRow("link text") << int(BatchRows::LinkColumn) << int(Qt::EditRole) << QVariant("tcp:x:1")
                                   << false << 0;
        QTest::newRow("status") << int(BatchRows::StatusColumn) << int(Qt::EditRole) << QVariant("成功") << false
                                << 0;
    }

    void whatTheUserChanges()
    {
        QFETCH(int, column);
        QFETCH(int, role);
        QFETCH(QVariant, value);
        QFETCH(bool, taken);
        QFETCH(int, checksSaid);
        BatchRows rows;
        QAbstractItemModelTester tester(&rows, QAbstractItemModelTester::FailureReportingMode::QtTest);
        rows.addRow("tcp:a:1", false, false);
        QSignalSpy checks(&rows, &BatchRows::checkChanged);
        const QModelIndex cell = rows.index(0, column);
        QCOMPARE(rows.setData(cell, value, role), taken);
        QCOMPARE(bool(rows.flags(cell)
                      & (role == Qt::CheckStateRole ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable)),
                 taken);
        QCOMPARE(cell.data(role) == value, taken);
        QCOMPARE(int(checks.size()), checksSaid);
        QCOMPARE(rows.place(0), column == BatchRows::PlaceColumn ? value.toString() : QString());
    }
};

QTEST_MAIN(BatchRowsTest)
#include "test_batch_rows.moc"
