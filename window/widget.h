#ifndef TARVO_WINDOW_WIDGET_H
#define TARVO_WINDOW_WIDGET_H

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <optional>

struct lua_State;
class CodeActions;
class ConfigFileController;
class DeviceSession;
class FormBinding;
class ReaderReview;
class SecretPrompt;
struct RecordedSave;
struct SaveReport;

namespace Ui {
class Widget;
}

// The tool's one window. Its slots are short forwards: the work lives in the
// subsystems below app/, which take the form record and plain values, and
// the window shows what they give back (app/config_slots.cpp,
// app/device_slots.cpp, app/interlocks.cpp).
class Widget : public QWidget
{
    Q_OBJECT

public:
    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    // Opening and saving configuration files of this window's form.
    ConfigFileController &configFiles() { return *fileController; }

public slots:
    void ButtonClicked();

private slots:
    void on_quitBtn_clicked();
    void on_pushButton_clicked();
    void on_connectBtn_clicked();
    void on_saveBtn_clicked();
    void GetconfigState();
    void Getinitkeyvalue();
    void on_developmode_clicked();
    void on_scanmode_clicked();
    void on_serialchoose_clicked();
    void on_ttlchoose_clicked();
    void on_serialxieyi_clicked();
    void on_ttlxieyi_clicked();
    void on_weigenOut_clicked();
    void on_keyboardOut_clicked();
    void on_serialOut_clicked();
    void on_ttlOut_clicked();
    void on_wifiOut_clicked();
    void on_ethernetOut_clicked();
    void on_outputhight_clicked();
    void on_lowvoltage_clicked();
    void on_highvoltage_clicked();
    void on_nfc_option_clicked();
    void on_wgoption_clicked();
    void on_ethoption_clicked();
    void on_wifioption_clicked();
    void on_nfc_return_clicked();
    void on_wg_return_clicked();
    void on_wifi_return_clicked();
    void Ordinary_Config();
    void Nfc_Config();
    void Net_Config();
    void Wg_Config();
    void Serial_Config();
    void on_usbhidchoose_clicked();
    void on_serialdragxieyi_clicked();
    void on_tarvoxy_clicked();
    void on_tarvo_ZB_clicked();
    void on_tarvo_RN450_clicked();
    void on_tarvo_E200FK_clicked();
    void on_tarvo_RN310_clicked();
    void on_tarvo_PL_clicked();
    void on_tarvo_HD5000_clicked();
    void on_tarvo_KS_clicked();
    void on_tarvo_WT_clicked();
    void on_oldpwcheck_clicked();
    void on_changepwcheck_clicked();
    void on_commandLinkButton_clicked();
    void on_pwreturn_clicked();
    int get_hmac(QString istr, char *obuf);
    void on_tarvo_rseven_clicked();
    void on_outputhight_2_clicked();

private:
    void GenerateQRcode(const QString &text);
    // Another reader was chosen in the device chooser.
    void readerChosen();
    // The save's box: its outcome, what it changed, what became of its record.
    void showSaveOutcome(const SaveReport &report, const QString &changed, const RecordedSave &recorded,
                         const QString &place);
    // Reads the reader, into the form when intoForm; false when it could
    // not, with the cause in *failure where one is known.
    bool readReader(QString *failure, bool intoForm);
    // Reads readerText through a fresh script, into the form when intoForm;
    // the reason it could not, or nothing when it did.
    std::optional<QString> importReaderConfig(bool intoForm = true, const QString &firmware = QString());

    Ui::Widget *ui;
    lua_State *lua_state;
    // The configuration text the last connect read from the reader.
    QByteArray readerText;
    QString configText;
    // Export, print, copy and zoom of the code the label shows.
    CodeActions *codeActions;
    ConfigFileController *fileController;
    // The chosen reader, the status field during device calls.
    DeviceSession *deviceSession;
    // The form's inputs as one configuration value, and when it changes.
    FormBinding *formBinding;
    // The reader's configuration beside the form: the question before a
    // connect, the review before a save.
    ReaderReview *readerReview;
    // Asks before a code or a save uses a Wi-Fi password an opened
    // configuration left out.
    SecretPrompt *secretPrompt;

    // The tests' probe (tests/support/widget_probe.h) reads ui, configText,
    // readerText and lua_state and calls GenerateQRcode: none of them is a
    // slot, a child object or shown on the form, and the slot table is fixed,
    // so a test has no other way to fill the form through the form record,
    // to read the signed text a slot leaves, to stand in for a reader's reply,
    // to see whether the script was loaded, or to put an arbitrary text on
    // the code label. Its private slots it invokes by name.
    friend class WidgetProbe;
};

#endif
