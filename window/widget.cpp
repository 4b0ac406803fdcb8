#include "window/widget.h"

#include "batchwrite/batch_write_dialog.h"
#include "recordwindow/record_window.h"
#include "script/script_bridge.h"
#include "ui_widget.h"
#include "window/click_slots.h"
#include "window/code_actions.h"
#include "window/config_file_controller.h"
#include "window/device_session.h"
#include "window/field_marks.h"
#include "window/form_binding.h"
#include "window/form_fonts.h"
#include "window/keyboard.h"
#include "window/option_pages.h"
#include "window/output_test_entry.h"
#include "window/reader_review.h"
#include "window/secret_prompt.h"
#include "window/voltage_choice.h"

namespace {

// What the window hides or disables at start, beyond the form's values: the
// save waits for a connect, the voltage choices for the output-high option,
// and the options of other modes, series and channels stay out of sight.
struct StartPart
{
    QWidget *(*widget)(const Ui_Widget &);
    bool visible;
    bool enabled;
};

template <auto member>
QWidget *partOf(const Ui_Widget &form)
{
    return form.*member;
}

using W = Ui_Widget;
const StartPart kStartParts[] = {
    {partOf<&W::saveBtn>, true, false},         {partOf<&W::lowvoltage>, true, false},
    {partOf<&W::highvoltage>, true, false},     {partOf<&W::develop_groupbox>, false, true},
    {partOf<&W::serial_groupbox>, false, true}, {partOf<&W::wgoption>, false, true},
    {partOf<&W::wifioption>, false, true},      {partOf<&W::ethoption>, false, true},
    {partOf<&W::pay_light>, false, true},       {partOf<&W::pay_light_play>, false, true},
    {partOf<&W::ganyingmode>, false, true},     {partOf<&W::paymode>, false, true},
    {partOf<&W::gunmode>, false, true},
};

} // namespace

Widget::Widget(QWidget *parent)
    : QWidget(parent),
      ui(new Ui::Widget),
      lua_state(nullptr),
      configText(),
      codeActions(nullptr),
      fileController(nullptr),
      deviceSession(nullptr),
      formBinding(nullptr),
      readerReview(nullptr),
      secretPrompt(nullptr)
{
    applyBaseFont();
    ui->setupUi(this);
    connectClickSlots(*this);
    applyFormFonts(*this, *ui);
    // on_pushButton_clicked is connected first, so it runs before this.
    connect(ui->pushButton, SIGNAL(clicked()), this, SLOT(ButtonClicked()));

    setFieldBounds(*ui);
    binding::show(config::startValue(), *ui);
    for (const StartPart &start : kStartParts) {
        start.widget(*ui)->setVisible(start.visible);
        start.widget(*ui)->setEnabled(start.enabled);
    }
    // The password is kept unless the user asks to change it.
    choosePasswordChange(*ui, false);
    setFixedSize(width(), height());
    ui->stacked_widget->setCurrentIndex(GeneralPage);

    // Before the watch on the form's value, which judges a click once the
    // answer to its question has settled it.
    connectWiegandVoltages(*ui, this);
    formBinding = new FormBinding(*ui, this);
    codeActions = new CodeActions(*ui, *formBinding, this);
    deviceSession = new DeviceSession(*ui, this);
    new FieldMarks(*ui, this);
    fileController = new ConfigFileController(*ui, *formBinding, this);
    readerReview = new ReaderReview(*formBinding, *fileController, this);
    connect(deviceSession, &DeviceSession::readerChanged, this, &Widget::readerChosen);
    secretPrompt = new SecretPrompt(*ui, *fileController, this);
    setUpKeyboard(*ui, *this);
    new OutputTestEntry(*formBinding, this, fileController->menu());
    new RecordWindowEntry([this](const QByteArray &bytes,
                                 const QString &name) { return fileController->openConfiguration(bytes, name); },
                          this, fileController->menu());
    new BatchWriteEntry(
        *formBinding,
        [this](QWidget *parent, const config::Refusal &refusal) { showRefusal(parent, *ui, refusal); }, this,
        fileController->menu());
}

Widget::~Widget()
{
    script_close(lua_state);
    delete ui;
}

void Widget::on_quitBtn_clicked()
{
    close();
}

// Connected by name to pushButton; the config code itself is ButtonClicked.
void Widget::on_pushButton_clicked() {}

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
