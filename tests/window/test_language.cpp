// The window's language: chosen from the user's UI languages or the
// override, and never touching what the window signs.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "config/form_value.h"
#include "core/cause_words.h"
#include "program/language.h"
#include "program/wording.h"
#include "support/debug_log.h"
#include "support/form_setup.h"
#include "support/message_box_answerer.h"
#include "support/shown_code.h"
#include "support/widget_probe.h"
#include "window/code_actions.h"
#include "window/widget.h"

Q_DECLARE_METATYPE(Cause)

class LanguageTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(installLanguage(Language::Chinese)); }

    void choosesFromUiLanguagesAndOverride_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("override");
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("known");
        const QStringList none;
        QTest::newRow("en-US") << QStringList{"en-US", "zh-CN"} << QString() << true << true;
        QTest::newRow("bare en") << QStringList{"en"} << QString() << true << true;
        QTest::newRow("zh-CN first") << QStringList{"zh-CN", "en-US"} << QString() << false << true;
        QTest::newRow("German") << QStringList{"de-DE"} << QString() << false << true;
        QTest::newRow("C locale") << QStringList{"C"} << QString() << false << true;
        QTest::newRow("POSIX") << QStringList{"POSIX"} << QString() << false << true;
        QTest::newRow("none") << none << QString() << false << true;
        QTest::newRow("not English: eo") << QStringList{"eo"} << QString() << false << true;
        QTest::newRow("--lang en on Chinese") << QStringList{"zh-CN"} << "en" << true << true;
        QTest::newRow("--lang zh on English") << QStringList{"en-GB"} << "zh" << false << true;
        QTest::newRow("--lang fr") << QStringList{"en-GB"} << "fr" << true << false;
    }

    void choosesFromUiLanguagesAndOverride()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, override);
        QFETCH(bool, english);
        QFETCH(bool, known);
        bool ok = !known;
        QCOMPARE(chooseLanguage(uiLanguages, override, &ok) == Language::English, english);
        QCOMPARE(ok, known);
    }

    // The same form, filled the same way, signs the same text in either
    // language, while the window itself does change its texts.
    void languageLeavesTheSignedTextAlone()
    {
        QMap<Language, QString> signedText;
        QMap<Language, QString> titles;
        for (Language language : {Language::Chinese, Language::English}) {
            QVERIFY(installLanguage(language));
            MessageBoxAnswerer answerer;
            Widget w;
            formChild<QLineEdit>(w, "manpw")->setText(QStringLiteral("0123456789abcdef"));
            // Serial output writes the serial and NFC groups with the general one.
            formChild<QRadioButton>(w, "serialOut")->setChecked(true);
            formChild<QLineEdit>(w, "linePrefix")->setText(QStringLiteral("前缀"));
            // Every combo box's items come through the translation too.
            for (QComboBox *combo : w.findChildren<QComboBox *>())
                combo->setCurrentIndex(combo->count() - 1);
            signedText[language] = WidgetProbe(w).buildConfigText();
            QVERIFY2(answerer.seen().isEmpty(), qPrintable(answerer.summary().join('\n')));
            titles[language] = w.windowTitle();
        }
        QVERIFY(installLanguage(Language::Chinese));
        QVERIFY(!signedText[Language::Chinese].isEmpty());
        QCOMPARE(signedText[Language::English], signedText[Language::Chinese]);
        QVERIFY2(titles[Language::English] != titles[Language::Chinese], qPrintable(titles[Language::English]));
    }

    // In English the boxes of a build speak English, those handed up from
    // below the window too, a field's name within its refusal included; the
    // build's log keeps its Chinese lines.
    void boxesFollowTheLanguageAndTheLogDoesNot_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("logged");
        const QString failed = "Config code / Could not make the config code";
        QTest::newRow("short configuration password")
            << QStringList{"manpw=short"}
            << QStringList{"Note / The configuration password must be 16 characters", failed} << true;
        QTest::newRow("comma in a field")
            << QStringList{"devnum=1,2"} << QStringList{"Note / Device ID cannot contain a comma (,)", failed}
            << false;
        QTest::newRow("too long for a code")
            << QStringList{"linePrefix=" + QString(199, 'x'),
                           "lineSuffix=" + QString(199, 'x'),
                           "+serialOut",
                           "+ttlOut",
                           "+wifiOut",
                           "+weigenOut"}
            << QStringList{"Config code / The configuration is too long for a config code"} << true;
    }

    void boxesFollowTheLanguageAndTheLogDoesNot()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, boxes);
        QFETCH(bool, logged);
        QVERIFY(installLanguage(Language::English));
        MessageBoxAnswerer answerer;
        Widget w;
        fillForm(w, QStringList{"manpw=0123456789abcdef"} + steps);
        DebugLog log;
        QTest::mouseClick(formChild<QPushButton>(w, "pushButton"), Qt::LeftButton);
        QCOMPARE(answerer.summary(), boxes);
        QCOMPARE(log.lines().contains("------hamc签名前数据start------"), logged);
    }

    // Qt's own buttons and dialogs speak the window's language: a box's
    // standard buttons, and the file dialog Qt draws itself.
    void qtsOwnButtonsFollowTheLanguage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("Chinese") << false
                                 << QStringList{"确定",       "取消",           "保存",       "丢弃",
                                                "查找范围：", "文件名称(&N)：", "文件类型：", "保存(&S)"};
        QTest::newRow("English") << true << QStringList{"OK",       "Cancel",      "Save",           "Discard",
                                                        "Look in:", "File &name:", "Files of type:", "&Save"};
    }

    void qtsOwnButtonsFollowTheLanguage()
    {
        QFETCH(bool, english);
        QFETCH(QStringList, captions);
        QVERIFY(installLanguage(english ? Language::English : Language::Chinese));
        QMessageBox box(QMessageBox::Question, "?", "?",
                        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Save | QMessageBox::Discard);
        QStringList shown;
        for (QMessageBox::StandardButton button :
             {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Save, QMessageBox::Discard})
            shown << box.button(button)->text().remove('&');
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        for (const char *label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            shown << formChild<QLabel>(files, label)->text();
        shown << formChild<QDialogButtonBox>(files, "buttonBox")->button(QDialogButtonBox::Save)->text();
        QCOMPARE(shown, captions);
    }

    // Inputs of one group that say different things in Chinese say different
    // things in English too: two "TCP" buttons leave an installer guessing.
    void inputsOfAGroupKeepApartInEnglish()
    {
        QVERIFY(installLanguage(Language::English));
        Widget w;
        QHash<QString, QString> sourceOf; // group and English caption -> Chinese
        QStringList merged;
        for (const config::FieldInfo &field : config::formFields()) {
            auto *button = w.findChild<QAbstractButton *>(field.name);
            const QString english = button ? button->text() : formWords(field.words);
            const QString key = QString::fromUtf8(field.group) + '|' + english.trimmed().toLower();
            const QString chinese = QString::fromUtf8(field.words);
            if (sourceOf.contains(key) && sourceOf.value(key) != chinese)
                merged << sourceOf.value(key) + " / " + chinese + " -> " + english;
            sourceOf.insert(key, chinese);
        }
        // Nor do the choices of one list.
        for (const QComboBox *combo : w.findChildren<QComboBox *>()) {
            QStringList choices;
            for (int i = 0; i < combo->count(); ++i) {
                const QString english = combo->itemText(i).trimmed().toLower();
                if (choices.contains(english))
                    merged << combo->objectName() + ": " + english;
                choices << english;
            }
        }
        QCOMPARE(merged, QStringList());
    }

    // The sheet under an exported or printed code reads in the window's
    // language throughout, its own words with the form's.
    void sheetFollowsTheLanguage()
    {
        QVERIFY(installLanguage(Language::English));
        MessageBoxAnswerer answerer;
        Widget w;
        fillForm(w, {"manpw=0123456789abcdef", "changepwcheck", "newpw=New-pass-0123456",
                     "confimpw=New-pass-0123456"});
        QTest::mouseClick(formChild<QPushButton>(w, "pushButton"), Qt::LeftButton);
        QCOMPARE(shownSheetLines(w), QStringList({"Reader series: ZB series", "Output: Keyboard",
                                                  "Work mode: Normal", "Sets a new configuration password",
                                                  "Made on " + QDate::currentDate().toString(Qt::ISODate)}));
    }

    // A cause kept as data reads in the language shown, a part a line; its
    // code is the last part's, the same in both.
    void causeFollowsTheLanguage_data()
    {
        QTest::addColumn<Cause>("cause");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("code");
        QTest::newRow("a link's, the system's reason below")
            << Cause{{"timeout", {"tcp:h:1: timed out"}}} << "读卡器在规定时间内没有应答。\ntcp:h:1: timed out"
            << "The reader did not answer in time.\ntcp:h:1: timed out"
            << "timeout";
        QTest::newRow("nothing written, running on into the link's")
            << Cause{{"not_written", {}}, {"connection_refused", {}}}
            << "未能读取读卡器的配置，没有写入：连接被拒绝：该主机的这个端口上没有读卡器在监听。"
            << "Could not read the reader's configuration; nothing was written: Connection refused: no reader "
               "listens on this port of the host."
            << "connection_refused";
        QTest::newRow("a setting read back otherwise, the new password in force")
            << Cause{{"read_back_differs", {"prefix", "TV-", "%1"}}, {"password_in_force", {}}}
            << "读回的读卡器配置与发送的不一致（扫码前缀 prefix: TV- → %1）。\n新的配置密码已经生效：读卡器保存了配置，"
               "之后只接受新密码。"
            << "The configuration read back from the reader differs from the one sent (Scan prefix prefix: TV- → "
               "%1).\nThe new configuration password is in effect: the reader stored the configuration and from "
               "now on accepts only the new password."
            << "password_in_force";
        QTest::newRow("the script's reason")
            << Cause{{"script", {"配置脚本 update_config.lua 无法加载"}}} << "配置脚本 update_config.lua 无法加载"
            << "Configuration script update_config.lua cannot be loaded"
            << "script";
        QTest::newRow("a newer program's code, as it came") << Cause{{"fog", {"thick"}}} << "fog\nthick"
                                                            << "fog\nthick"
                                                            << "";
    }

    void causeFollowsTheLanguage()
    {
        QFETCH(Cause, cause);
        QFETCH(QString, chinese);
        QFETCH(QString, english);
        QFETCH(QString, code);
        QCOMPARE(causeWords(cause), chinese);
        QVERIFY(installLanguage(Language::English));
        QCOMPARE(causeWords(cause), english);
        QCOMPARE(QString::fromLatin1(causeCode(cause)), code);
    }
};

QTEST_MAIN(LanguageTest)
#include "test_language.moc"
