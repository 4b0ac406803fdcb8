// The interlocks: what a click on a product series, work mode, channel,
// output level or password choice does to the rest of the form. They keep no
// state of their own; the form is the state. setChecked and setVisible emit
// no clicked(), so one interlock never runs another.
#include "window/widget.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "config/output_channels.h"
#include "ui_widget.h"
#include "window/form_binding.h"
#include "window/option_pages.h"
#include "window/series_widgets.h"
#include "window/voltage_choice.h"

namespace {

using output_channels::NfcButton;

// Checks the chosen series alone and fits the form to its readers. Options
// that become hidden keep their checks.
void chooseSeries(Ui_Widget &form, series::Series chosen)
{
    for (int box = 0; box < series::Count; ++box)
        binding::button(form, series::kSeries[box].box)->setChecked(box == chosen);
    for (const series::WidgetRow &row : series::kSeriesWidgets) {
        const char cell = row.cells[chosen];
        if (cell != '-')
            row.widget(form)->setVisible(cell == 'S');
    }
}

// After its steps, a channel's click returns to the general page and shows
// the IP mode group only where the channel wants it.
void chooseOutputChannel(Ui_Widget &form, config::Flag button)
{
    for (const output_channels::Channel &channel : output_channels::kChannels) {
        if (channel.button != button)
            continue;
        binding::applySteps(output_channels::resolveSteps(binding::read(form), channel, channel.chosenSteps,
                                                          NfcButton::FromSteps),
                            form);
        form.stacked_widget->setCurrentIndex(GeneralPage);
        form.ip_modegroupbox->setVisible(channel.showsIpMode);
    }
}

} // namespace

// ---- Work mode -----------------------------------------------------------

void Widget::on_developmode_clicked()
{
    ui->output_groupbox->setVisible(true);
    ui->serial_groupbox->setVisible(false);
    ui->develop_groupbox->setVisible(true);
    // A serial configuration channel needs its port settings.
    if (ui->serialchoose->isChecked() || ui->ttlchoose->isChecked())
        ui->serial_groupbox->setVisible(true);
}

void Widget::on_scanmode_clicked()
{
    ui->output_groupbox->setVisible(true);
    // Unlike the NFC page rule, this keeps the NFC page when no series is checked.
    const config::FormValue form = binding::read(*ui);
    ui->nfc_option->setVisible(!series::checkedSeries(form, &series::Facts::nfcPage, false));
    // The checked channel replays its steps.
    for (const output_channels::Channel &channel : output_channels::kChannels)
        if (form.*channel.button)
            binding::applySteps(output_channels::resolveSteps(binding::read(*ui), channel, channel.chosenSteps,
                                                              NfcButton::LeftAlone),
                                *ui);
    ui->develop_groupbox->setVisible(false);
    ui->stacked_widget->setVisible(true);
    ui->stacked_widget->setCurrentIndex(GeneralPage);
}

// ---- Configuration channel -----------------------------------------------

// The output channel follows a serial configuration channel; the box only
// tells the user, who cannot refuse.
void Widget::on_serialchoose_clicked()
{
    QMessageBox::information(this, tr("输出提示"),
                             tr("配置和传输通道将会被改成485/232,下次连接配置工具需要扫码配置换通道"));
    ui->serialOut->setChecked(true);
    ui->serial_groupbox->setVisible(true);
}

void Widget::on_ttlchoose_clicked()
{
    QMessageBox::information(this, tr("输出提示"),
                             tr("配置和传输通道将会被改成TTL,下次连接配置工具需要扫码配置换通道"));
    ui->ttlOut->setChecked(true);
    ui->serial_groupbox->setVisible(true);
}

// Checks the keyboard output without its interlock: page and page buttons stay.
void Widget::on_usbhidchoose_clicked()
{
    ui->serial_groupbox->setVisible(false);
    ui->keyboardOut->setChecked(true);
}

void Widget::on_serialdragxieyi_clicked()
{
    ui->serial_groupbox->setVisible(false);
}

void Widget::on_tarvoxy_clicked()
{
    ui->serial_groupbox->setVisible(true);
}

// ---- Output channel ------------------------------------------------------

// No widget of the form bears the names of these two slots, so no click
// reaches them; they stay in the window's slot table.
void Widget::on_serialxieyi_clicked()
{
    ui->serialOut->setChecked(true);
    ui->serial_groupbox->setVisible(true);
}

void Widget::on_ttlxieyi_clicked()
{
    ui->ttlOut->setChecked(true);
    ui->serial_groupbox->setVisible(true);
}

void Widget::on_weigenOut_clicked()
{
    chooseOutputChannel(*ui, &config::FormValue::weigenOut);
}

void Widget::on_keyboardOut_clicked()
{
    chooseOutputChannel(*ui, &config::FormValue::keyboardOut);
}

void Widget::on_serialOut_clicked()
{
    chooseOutputChannel(*ui, &config::FormValue::serialOut);
}

void Widget::on_ttlOut_clicked()
{
    chooseOutputChannel(*ui, &config::FormValue::ttlOut);
}

void Widget::on_wifiOut_clicked()
{
    chooseOutputChannel(*ui, &config::FormValue::wifiOut);
}

void Widget::on_ethernetOut_clicked()
{
    chooseOutputChannel(*ui, &config::FormValue::ethernetOut);
}

// ---- Output level and voltage --------------------------------------------

// The voltage choices only mean something while the output is driven high;
// turning that off greys them out but keeps what was chosen.
void Widget::on_outputhight_clicked()
{
    const bool high = ui->outputhight->isChecked();
    ui->lowvoltage->setEnabled(high);
    ui->highvoltage->setEnabled(high);
}

void Widget::on_outputhight_2_clicked()
{
    const bool high = ui->outputhight_2->isChecked();
    ui->lowvoltage_2->setEnabled(high);
    ui->highvoltage_2->setEnabled(high);
}

void Widget::on_lowvoltage_clicked()
{
    confirmVoltage(ui->lowvoltage, ui->highvoltage, Voltage::Low);
}

void Widget::on_highvoltage_clicked()
{
    confirmVoltage(ui->highvoltage, ui->lowvoltage, Voltage::High);
}

// ---- Product series ------------------------------------------------------

void Widget::on_tarvo_ZB_clicked()
{
    chooseSeries(*ui, series::ZB);
}

void Widget::on_tarvo_RN450_clicked()
{
    chooseSeries(*ui, series::RN450);
}

void Widget::on_tarvo_E200FK_clicked()
{
    chooseSeries(*ui, series::E200FK);
}

void Widget::on_tarvo_RN310_clicked()
{
    chooseSeries(*ui, series::RN310);
}

void Widget::on_tarvo_PL_clicked()
{
    chooseSeries(*ui, series::PL);
}

void Widget::on_tarvo_HD5000_clicked()
{
    chooseSeries(*ui, series::HD5000);
}

void Widget::on_tarvo_KS_clicked()
{
    chooseSeries(*ui, series::KS);
}

void Widget::on_tarvo_WT_clicked()
{
    chooseSeries(*ui, series::WT);
}

void Widget::on_tarvo_rseven_clicked()
{
    chooseSeries(*ui, series::Rseven);
}

// ---- Password page -------------------------------------------------------

// The two boxes act as a pair: exactly one is checked after any click, and
// the new-password fields show only for a change.
void choosePasswordChange(Ui_Widget &ui, bool change)
{
    ui.oldpwcheck->setChecked(!change);
    ui.changepwcheck->setChecked(change);
    ui.newpw->setVisible(change);
    ui.confimpw->setVisible(change);
    ui.a->setVisible(change);
    ui.z->setVisible(change);
}

void Widget::on_oldpwcheck_clicked()
{
    choosePasswordChange(*ui, false);
}

void Widget::on_changepwcheck_clicked()
{
    choosePasswordChange(*ui, true);
}
