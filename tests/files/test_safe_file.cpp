// Replacing and reading the files a user names, against what a site's disk
// and a hostile folder hold: links, pipes, devices, folders.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include "files/safe_file.h"

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class SafeFileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // A target that is no regular file is refused and left as it was; a
    // link is followed to the file it names, which is replaced in place.
    void replaceRefusesWhatIsNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("new file") << "new" << true;
        QTest::newRow("old file") << "old" << true;
        QTest::newRow("link to a file") << "link" << true;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("pipe") << "fifo" << false;
        QTest::newRow("device") << "device" << false;
        QTest::newRow("missing folder") << "missing" << false;
    }

    void replaceRefusesWhatIsNoFile()
    {
        QFETCH(QString, kind);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        const QString old = dir.filePath("old.tcfg");
        QFile seed(old);
        QVERIFY(seed.open(QIODevice::WriteOnly) && seed.write("old bytes") == 9);
        seed.close();
        QString path = dir.filePath(kind);
        if (kind == "old")
            path = old;
        else if (kind == "link")
            QVERIFY(QFile::link(old, path));
        else if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir(kind));
        else if (kind == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "device")
            path = QStringLiteral("/dev/null");
        else if (kind == "missing")
            path = dir.filePath("no/such/folder/x");

        const std::optional<QString> failed = files::replaceFile(path, "new bytes");
        QCOMPARE(!failed, replaced);
        if (failed)
            QVERIFY2(!failed->isEmpty(), "a refusal says why");
        if (kind == "link") {
            QVERIFY(QFileInfo(path).isSymLink());
            QCOMPARE(contents(old), QByteArray("new bytes"));
        } else if (replaced) {
            QCOMPARE(contents(path), QByteArray("new bytes"));
        } else {
            QCOMPARE(contents(old), QByteArray("old bytes"));
        }
        if (kind == "device")
            QVERIFY(QFileInfo("/dev/null").isFile() == false);
        // No half-written file is left beside the target.
        const QStringList hidden =
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                .filter(QRegularExpression("^\\."));
        QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(' ')));
    }

    void ownerOnlyFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("secret.tcfg");
        QVERIFY(!files::replaceFile(path, "psk='x'", files::Readers::OwnerOnly));
        QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    }

    // Reading stops one byte past the bound, so a large file is told apart
    // unread, and never waits on a pipe.
    void readIsBounded_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("bound");
        QTest::addColumn<int>("read");
        QTest::newRow("under") << 10 << 64 << 10;
        QTest::newRow("at") << 64 << 64 << 64;
        QTest::newRow("over") << 1000 << 64 << 65;
        QTest::newRow("empty") << 0 << 64 << 0;
    }

    void readIsBounded()
    {
        QFETCH(int, size);
        QFETCH(int, bound);
        QFETCH(int, read);
        QTemporaryDir dir;
        const QString path = dir.filePath("f");
        QVERIFY(!files::replaceFile(path, QByteArray(size, 'a')));
        QByteArray bytes;
        QVERIFY(!files::readRegularFile(path, bound, &bytes));
        QCOMPARE(bytes.size(), read);
    }

    void readRefusesPipes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("fifo");
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QByteArray bytes;
        QVERIFY(files::readRegularFile(path, 64, &bytes).has_value());
        QVERIFY(files::readRegularFile("/dev/zero", 64, &bytes).has_value());
    }
};

QTEST_GUILESS_MAIN(SafeFileTest)
#include "test_safe_file.moc"
