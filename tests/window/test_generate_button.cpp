// The generate button as a user presses it: the form's signed configuration
// appears as a code that reads back to exactly that text, and a refused
// build leaves the previous code on screen with one failure box.
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageAuthenticationCode>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "tools/qrread/qr_reader.h"
#include "window/widget.h"

namespace {

const QString kPassword = QStringLiteral("Tarvo-0123456789");
const QString kHead = QStringLiteral("___TRVO_CONFIG_V1.1.0___{");

QImage shownPicture(Widget &window)
{
    return formChild<QLabel>(window, "label")->pixmap(Qt::ReturnByValue).toImage();
}

// Types as a user would: ASCII on the keyboard, anything else committed by
// an input method, as Chinese is entered.
void typeInto(Widget &window, const char *field, const QString &text)
{
    auto *edit = formChild<QLineEdit>(window, field);
    edit->clear();
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(edit, c.toLatin1());
        } else {
            QInputMethodEvent typed;
            typed.setCommitString(QString(c));
            QApplication::sendEvent(edit, &typed);
        }
    }
}

void clickGenerate(Widget &window)
{
    QTest::mouseClick(formChild<QPushButton>(window, "pushButton"), Qt::LeftButton);
}

bool encoderMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libqrencode");
}


} // namespace

class GenerateButtonTest : public QObject
{
    Q_OBJECT

private slots:
    // The window starts without the encoder's library and opens it for the
    // first code. First here: nothing before it in this process draws one.
    void theEncoderComesWithTheFirstCode()
    {
        Widget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!encoderMapped());
        MessageBoxAnswerer answerer;
        typeInto(w, "manpw", kPassword);
        clickGenerate(w);
        QVERIFY2(answerer.seen().isEmpty(), qPrintable(answerer.summary().join('\n')));
        QVERIFY(encoderMapped());
        QVERIFY(readQrCode(shownPicture(w)).startsWith(kHead.toLatin1()));
    }

    // A Chinese prefix makes the text non-ASCII: the code must carry its
    // UTF-8 bytes, and the signature must still verify over them.
    void clickShowsTheSignedConfiguration_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("start-state form") << QString();
        QTest::newRow("Chinese prefix") << QStringLiteral("前缀A");
    }

    void clickShowsTheSignedConfiguration()
    {
        QFETCH(QString, prefix);
        Widget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MessageBoxAnswerer answerer;
        typeInto(w, "manpw", kPassword);
        typeInto(w, "linePrefix", prefix);

        clickGenerate(w);
        QVERIFY2(answerer.seen().isEmpty(), qPrintable(answerer.summary().join('\n')));
        QVERIFY(WidgetProbe(w).configText().isEmpty());

        const QByteArray read = readQrCode(shownPicture(w));
        const QString text = QString::fromUtf8(read);
        QVERIFY2(text.startsWith(kHead), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("prefix='") + prefix + QStringLiteral("',")), qPrintable(text));
        const QRegularExpressionMatch signature =
            QRegularExpression(QStringLiteral("\\}--([A-Za-z0-9+/]{22}==)$")).match(text);
        QVERIFY2(signature.hasMatch(), qPrintable(text));

        const QByteArray signedPart = read.left(read.lastIndexOf("--"));
        QCOMPARE(signature.captured(1).toLatin1(),
                 QMessageAuthenticationCode::hash(signedPart, kPassword.toLatin1(), QCryptographicHash::Md5)
                     .toBase64());
        QCOMPARE(text, WidgetProbe(w).buildConfigText());
    }

    // The code on screen follows the form only when the button is pressed;
    // meanwhile the out-of-date one is gone.
    void eachClickShowsTheFormOfThatMoment()
    {
        Widget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MessageBoxAnswerer answerer;
        typeInto(w, "manpw", kPassword);
        typeInto(w, "linePrefix", QStringLiteral("first"));
        clickGenerate(w);
        const QImage first = shownPicture(w);

        typeInto(w, "linePrefix", QStringLiteral("second"));
        QVERIFY(!first.isNull());
        QVERIFY(readQrCode(shownPicture(w)).isNull());
        clickGenerate(w);
        const QString text = QString::fromUtf8(readQrCode(shownPicture(w)));
        QVERIFY2(text.contains(QStringLiteral("prefix='second',")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("first")));
        QVERIFY2(answerer.seen().isEmpty(), qPrintable(answerer.summary().join('\n')));
    }

    // Whatever assembly refuses, it says why itself; the button then adds
    // its own failure box, once, and the label stays as it was (the edits
    // have taken the out-of-date code away).
    void refusedBuildKeepsThePreviousCode_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("changePassword");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("confirmation");
        QTest::newRow("configuration password too short")
            << QStringLiteral("short") << false << QString() << QString();
        QTest::newRow("new passwords differ")
            << kPassword << true << QStringLiteral("AAAAAAAAAAAAAAAA") << QStringLiteral("AAAAAAAAAAAAAAAB");
    }

    void refusedBuildKeepsThePreviousCode()
    {
        QFETCH(QString, password);
        QFETCH(bool, changePassword);
        QFETCH(QString, newPassword);
        QFETCH(QString, confirmation);
        Widget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MessageBoxAnswerer answerer;
        typeInto(w, "manpw", kPassword);
        clickGenerate(w);
        QVERIFY2(answerer.seen().isEmpty(), qPrintable(answerer.summary().join('\n')));
        const QImage previous = shownPicture(w);
        QVERIFY(!previous.isNull());

        typeInto(w, "manpw", password);
        formChild<QCheckBox>(w, "changepwcheck")->setChecked(changePassword);
        // Set directly: the fields stay hidden until the interlocks show them.
        formChild<QLineEdit>(w, "newpw")->setText(newPassword);
        formChild<QLineEdit>(w, "confimpw")->setText(confirmation);
        const QImage beforeClick = shownPicture(w);
        clickGenerate(w);

        const QVector<MessageBoxAnswerer::Seen> &boxes = answerer.seen();
        QVERIFY2(boxes.size() == 2, qPrintable(answerer.summary().join('\n')));
        QCOMPARE(boxes.first().title, QStringLiteral("注意"));
        QCOMPARE(boxes.last().title, QStringLiteral("生成二维码状态"));
        QCOMPARE(boxes.last().text, QStringLiteral("生成二维码失败"));
        QCOMPARE(boxes.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(boxes.last().parent, static_cast<QWidget *>(&w));
        QCOMPARE(shownPicture(w), beforeClick);
        QVERIFY(WidgetProbe(w).configText().isEmpty());
    }
};

QTEST_MAIN(GenerateButtonTest)
#include "test_generate_button.moc"
