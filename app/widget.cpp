#include "app/widget.h"

#include "app/code_actions.h"
#include "app/device_session.h"
#include "app/field_marks.h"
#include "app/config_file_controller.h"
#include "app/form_fonts.h"
#include "app/keyboard.h"
#include "app/output_test_window.h"
#include "app/option_pages.h"
#include "app/voltage_choice.h"
#include "trvo/rpc_buffer.h"
#include "script/script_bridge.h"
#include "ui_widget.h"

namespace {

// Default heartbeat content: the host a reader pings while idle.
const char kDefaultHeartbeatHost[] = "www.tarvo.com";

} // namespace

Widget::Widget(QWidget *parent)
    : QWidget(parent),
      ui(new Ui::Widget),
      lua_state(nullptr),
      dev_config(nullptr),
      dev_config_len(0),
      dev_version(nullptr),
      configText(),
      codeActions(nullptr),
      fileController(nullptr),
      deviceSession(nullptr)
{
    ui->setupUi(this);
    applyFormFonts(*this, *ui);
    // on_pushButton_clicked is connected by name first, so it runs before this.
    connect(ui->pushButton, SIGNAL(clicked()), this, SLOT(ButtonClicked()));

    // The save button stays off until a connect has read the reader.
    ui->saveBtn->setEnabled(false);

    ui->keyboardOut->setChecked(true);
    ui->qrCheck->setChecked(true);
    ui->ledControl->setChecked(true);
    ui->intermode->setChecked(true);
    ui->lineIntervaltime->setText(QStringLiteral("300"));

    ui->baudRate->setCurrentText(QStringLiteral("115200"));
    ui->dataBit->setCurrentText(QStringLiteral("8"));
    ui->checkBit->setCurrentText(QStringLiteral("N"));
    ui->stopBit->setCurrentText(QStringLiteral("1"));

    ui->scanmode->setChecked(true);
    ui->qrup->setChecked(true);
    ui->devnum->setText(QStringLiteral("0"));
    setFieldBounds(*ui);
    ui->brightadjust->setValue(200);
    ui->buzzers->setChecked(true);
    ui->beepinterval->setText(QStringLiteral("30"));
    ui->lightoffinterval->setText(QStringLiteral("200"));

    ui->tcpO->setChecked(true);
    ui->Slightoffaction->setChecked(true);
    ui->Flightredaction->setChecked(true);
    ui->tcpdelay->setText(QStringLiteral("2"));
    ui->httpdelay->setText(QStringLiteral("2"));
    ui->wiredtcp->setChecked(true);

    // The voltage choices open only with the output-high option.
    ui->lowvoltage->setEnabled(false);
    ui->highvoltage->setEnabled(false);

    ui->nfcsuffform->setChecked(true);
    ui->tenformout->setChecked(true);
    ui->nfc_beep->setChecked(true);
    ui->fxout->setChecked(true);
    ui->idfx->setChecked(true);
    ui->vg26->setChecked(true);
    ui->wgchartohex->setChecked(true);

    setFixedSize(width(), height());

    ui->develop_groupbox->setVisible(false);
    ui->serial_groupbox->setVisible(false);
    ui->usbhidchoose->setChecked(true);
    ui->wgoption->setVisible(false);
    ui->wifioption->setVisible(false);
    ui->ethoption->setVisible(false);

    ui->heart_on->setChecked(true);
    ui->heart_time->setText(QStringLiteral("60"));
    ui->heart_content->setText(QLatin1String(kDefaultHeartbeatHost));

    ui->tarvo_ZB->setChecked(true);
    ui->pay_light->setVisible(false);
    ui->pay_light_play->setVisible(false);

    // The password is kept unless the user asks to change it.
    choosePasswordChange(*ui, false);

    ui->ganyingmode->setVisible(false);
    ui->paymode->setVisible(false);
    ui->gunmode->setVisible(false);

    ui->stacked_widget->setCurrentIndex(GeneralPage);
    // Before the code's watch on the form, which judges a click once the
    // answer to its question has settled it.
    connectWiegandVoltages(*ui, this);
    codeActions = new CodeActions(*ui, this);
    deviceSession = new DeviceSession(*ui, this);
    new FieldMarks(*ui, this);
    fileController = new ConfigFileController(*ui, this);
    setUpKeyboard(*ui, *this);
    new OutputTestEntry(*ui, this, fileController->menu());
}

Widget::~Widget()
{
    script_close(lua_state);
    // The reply blocks of the last connect stay with the window until it goes.
    rpc_buffer_free(rpc_buffer_of_data(dev_config));
    rpc_buffer_free(rpc_buffer_of_data(dev_version));
    delete ui;
}

void Widget::on_quitBtn_clicked()
{
    close();
}

// Connected by name to pushButton; the config code itself is ButtonClicked.
void Widget::on_pushButton_clicked()
{
}

void Widget::on_nfc_option_clicked()
{
    ui->stacked_widget->setCurrentIndex(NfcPage);
}

void Widget::on_wgoption_clicked()
{
    ui->stacked_widget->setCurrentIndex(WiegandPage);
}

void Widget::on_ethoption_clicked()
{
    ui->stacked_widget->setCurrentIndex(NetworkPage);
}

void Widget::on_wifioption_clicked()
{
    ui->stacked_widget->setCurrentIndex(NetworkPage);
}

void Widget::on_commandLinkButton_clicked()
{
    ui->stacked_widget->setCurrentIndex(PasswordPage);
}

void Widget::on_nfc_return_clicked()
{
    ui->stacked_widget->setCurrentIndex(GeneralPage);
}

void Widget::on_wg_return_clicked()
{
    ui->stacked_widget->setCurrentIndex(GeneralPage);
}

void Widget::on_wifi_return_clicked()
{
    ui->stacked_widget->setCurrentIndex(GeneralPage);
}

void Widget::on_pwreturn_clicked()
{
    ui->stacked_widget->setCurrentIndex(GeneralPage);
}

void setFieldBounds(Ui_Widget &ui)
{
    ui.brightadjust->setRange(0, 255);
}
