// The interlocks: what a click on a product series, work mode, channel,
// output level or password choice does to the rest of the form. They keep no
// state of their own; the form is the state. setChecked and setVisible emit
// no clicked(), so one interlock never runs another.
#include "app/widget.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QStackedWidget>
#include <vector>

#include "app/option_pages.h"
#include "ui_widget.h"

namespace {

// The form's widget of the given object name. The tables below name widgets
// by their object names, the vocabulary the whole tool shares.
template <class T = QWidget>
T *formWidget(QWidget &window, const char *name)
{
    T *widget = window.findChild<T *>(QLatin1String(name));
    Q_ASSERT_X(widget, "formWidget", name);
    return widget;
}

template <size_t N>
bool anyChecked(QWidget &window, const char *const (&buttons)[N])
{
    for (const char *name : buttons)
        if (formWidget<QAbstractButton>(window, name)->isChecked())
            return true;
    return false;
}

// ---- Product series ------------------------------------------------------

// The series boxes, in the column order of kSeriesTable.
enum Series { ZB, RN450, E200FK, RN310, PL, HD5000, KS, WT, Rseven, SeriesCount };

const char *const kSeriesBoxes[SeriesCount] = {
    "tarvo_ZB", "tarvo_RN450", "tarvo_E200FK", "tarvo_RN310", "tarvo_PL",
    "tarvo_HD5000", "tarvo_KS", "tarvo_WT", "tarvo_rseven",
};

// Readers with an NFC page, and those without one.
const char *const kNfcSeries[] = {"tarvo_HD5000", "tarvo_E200FK", "tarvo_ZB", "tarvo_PL"};
const char *const kSeriesWithoutNfc[] = {"tarvo_rseven", "tarvo_RN310", "tarvo_RN450",
                                         "tarvo_KS", "tarvo_WT"};

// What choosing a series does to each widget that depends on it: one letter
// per series, in the columns ZB, RN450, E200FK, RN310, PL, HD5000, KS, WT,
// rseven. S shows the widget, H hides it, - leaves it as it is. The rows are
// in the order the widgets are touched.
struct SeriesRow
{
    const char *widget;
    char cells[SeriesCount + 1];
};

const SeriesRow kSeriesTable[] = {
    {"greenlight",          "SHHHHSHSH"},
    {"nfc_flagreen",        "S-H-HS-SH"},
    {"redlight",            "SHSSSSHSH"},
    {"buzzers",             "SHSSSSSSS"},
    {"label_29",            "SHSSSSSSS"},
    {"beepinterval",        "SHSSSSSSS"},
    {"label_30",            "SHSSSSSSS"},
    {"label_14",            "SHSSSSSSS"},
    {"lightoffinterval",    "SHSSSSSSS"},
    {"label_15",            "SHSSSSSSS"},
    {"Flightgreenaction",   "SHHHHSSSH"},
    {"Slightgreenaction",   "SHHHHSSSH"},
    {"outputhight",         "SHHHHSHSH"},
    {"lowvoltage",          "SHHHHSHSH"},
    {"highvoltage",         "SHHHHSHSH"},
    {"keyboardOut",         "SSSSSSSSS"},
    {"serialOut",           "SSSSSSSSS"},
    {"ttlOut",              "SSSSSSHHS"},
    {"wifiOut",             "SHHHSHHHH"},
    {"weigenOut",           "SHHHSHHHH"},
    {"ethernetOut",         "SHHHHHHHH"},
    {"serialchoose",        "SSSSSSSSS"},
    {"ttlchoose",           "SSSSSSHHS"},
    {"usbhidchoose",        "SSSSSSSSS"},
    {"serialdragxieyi",     "SHHHHHHHH"},
    {"tarvoxy",             "SSSSSSSSS"},
    {"nfc_option",          "SHSHSSHHH"},
    {"ip_modegroupbox",     "SHHHHHHSH"},
    {"pay_light",           "HHHHHHSHH"},
    {"pay_light_play",      "HHHHHHSHH"},
    {"ganyingmode",         "HHHHHHHSH"},
    {"paymode",             "HHHHHHSHH"},
    {"gunmode",             "HHHHHHHSH"},
    {"developmode",         "SSSSSSSH-"},
    {"ledControl",          "SSSSSSSH-"},
    {"lightoff",            "SSSSSSSH-"},
    {"groupBox_12",         "SSSSSSSH-"},
    {"wgoption",            "-HHHHHH-H"},
    {"ethoption",           "-HHHHHH-H"},
    {"wifioption",          "-HHH-H--H"},
};

// Checks the chosen series alone and fits the form to its readers. Options
// that become hidden keep their checks.
void chooseSeries(QWidget &window, Series series)
{
    for (int box = 0; box < SeriesCount; ++box)
        formWidget<QAbstractButton>(window, kSeriesBoxes[box])->setChecked(box == series);
    for (const SeriesRow &row : kSeriesTable) {
        const char cell = row.cells[series];
        if (cell != '-')
            formWidget(window, row.widget)->setVisible(cell == 'S');
    }
}

// Shows the NFC page button only while a series with an NFC page is checked.
void applyNfcPageRule(QWidget &window)
{
    formWidget(window, "nfc_option")->setVisible(anyChecked(window, kNfcSeries));
}

// ---- Output channels -----------------------------------------------------

enum class Op {
    Check,
    CheckWhenChosen, // check the widget only while the channel's button is checked
    Show,
    Hide,
    NfcPageRule,     // nfc_option by the series
    ShowNfcPage,     // nfc_option whatever the series
};

struct Step
{
    Op op;
    const char *widget;
};

// What choosing an output channel does to the form, step by step. The scan
// mode replays the steps of the checked channel but decides nfc_option by
// its own rule. After its steps, a channel's slot returns to the general
// page and shows the IP mode group only where the channel wants it.
struct OutputChannel
{
    const char *button;
    std::vector<Step> steps;
    bool showsIpMode;
};

// In the order the scan mode looks for the checked channel.
const OutputChannel kOutputChannels[] = {
    {"keyboardOut",
     {{Op::NfcPageRule, "nfc_option"}, {Op::Check, "tenformout"}, {Op::Hide, "wgoption"},
      {Op::Hide, "ethoption"}, {Op::Hide, "wifioption"}, {Op::Hide, "serial_groupbox"}},
     false},
    {"ttlOut",
     {{Op::Check, "tenformout"}, {Op::NfcPageRule, "nfc_option"}, {Op::Hide, "wgoption"},
      {Op::Hide, "ethoption"}, {Op::Hide, "wifioption"}, {Op::Show, "serial_groupbox"}},
     false},
    {"serialOut",
     {{Op::NfcPageRule, "nfc_option"}, {Op::Check, "tenformout"}, {Op::Hide, "wgoption"},
      {Op::Hide, "ethoption"}, {Op::Hide, "wifioption"}, {Op::Show, "serial_groupbox"}},
     false},
    {"wifiOut",
     {{Op::Check, "tenformout"}, {Op::NfcPageRule, "nfc_option"}, {Op::Hide, "wgoption"},
      {Op::Hide, "ethoption"}, {Op::Show, "wifioption"}, {Op::Hide, "serial_groupbox"},
      {Op::Show, "wifi1_group"}, {Op::Show, "wifi2_group"}, {Op::Hide, "eth1_group"}},
     false},
    // The Wiegand channel shows the NFC page button whatever the series.
    {"weigenOut",
     {{Op::CheckWhenChosen, "zjformout"}, {Op::ShowNfcPage, "nfc_option"},
      {Op::Show, "wgoption"}, {Op::Hide, "ethoption"}, {Op::Hide, "wifioption"}},
     false},
    {"ethernetOut",
     {{Op::Check, "tenformout"}, {Op::NfcPageRule, "nfc_option"}, {Op::Hide, "wgoption"},
      {Op::Show, "ethoption"}, {Op::Hide, "wifioption"}, {Op::Hide, "wifi1_group"},
      {Op::Hide, "wifi2_group"}, {Op::Show, "eth1_group"}},
     true},
};

const OutputChannel &outputChannel(const char *button)
{
    for (const OutputChannel &channel : kOutputChannels)
        if (qstrcmp(channel.button, button) == 0)
            return channel;
    Q_UNREACHABLE();
}

// Whether the channel's steps decide nfc_option or leave it to the caller.
enum class NfcButton { FromSteps, LeftAlone };

void runChannelSteps(QWidget &window, const OutputChannel &channel, NfcButton nfcButton)
{
    for (const Step &step : channel.steps) {
        switch (step.op) {
        case Op::Check:
            formWidget<QAbstractButton>(window, step.widget)->setChecked(true);
            break;
        case Op::CheckWhenChosen:
            if (formWidget<QAbstractButton>(window, channel.button)->isChecked())
                formWidget<QAbstractButton>(window, step.widget)->setChecked(true);
            break;
        case Op::Show:
        case Op::Hide:
            formWidget(window, step.widget)->setVisible(step.op == Op::Show);
            break;
        case Op::NfcPageRule:
            if (nfcButton == NfcButton::FromSteps)
                applyNfcPageRule(window);
            break;
        case Op::ShowNfcPage:
            if (nfcButton == NfcButton::FromSteps)
                formWidget(window, step.widget)->setVisible(true);
            break;
        }
    }
}

void chooseOutputChannel(QWidget &window, const char *button)
{
    const OutputChannel &channel = outputChannel(button);
    runChannelSteps(window, channel, NfcButton::FromSteps);
    formWidget<QStackedWidget>(window, "stacked_widget")->setCurrentIndex(GeneralPage);
    formWidget(window, "ip_modegroupbox")->setVisible(channel.showsIpMode);
}

// ---- Output voltage ------------------------------------------------------

// Asks before the reader's output voltage changes, since the devices on
// either end must agree on it. A click that unchecks asks nothing. Yes
// keeps the chosen level as the only one; No, and Escape (the box's escape
// button is No), take the choice back.
void confirmVoltage(QAbstractButton *chosen, QAbstractButton *other, const QString &question)
{
    if (!chosen->isChecked())
        return;
    const QMessageBox::StandardButton answer =
        QMessageBox::warning(nullptr, QStringLiteral("warning"), question,
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        other->setChecked(false);
    else if (answer == QMessageBox::No)
        chosen->setChecked(false);
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
    ui->nfc_option->setVisible(!anyChecked(*this, kSeriesWithoutNfc));
    for (const OutputChannel &channel : kOutputChannels)
        if (formWidget<QAbstractButton>(*this, channel.button)->isChecked())
            runChannelSteps(*this, channel, NfcButton::LeftAlone);
    ui->develop_groupbox->setVisible(false);
    ui->stacked_widget->setVisible(true);
    ui->stacked_widget->setCurrentIndex(GeneralPage);
}

// ---- Configuration channel -----------------------------------------------

// The output channel follows a serial configuration channel; the box only
// tells the user, who cannot refuse.
void Widget::on_serialchoose_clicked()
{
    QMessageBox::information(
        this, QStringLiteral("输出提示"),
        QStringLiteral("配置和传输通道将会被改成485/232,下次连接配置工具需要扫码配置换通道"));
    ui->serialOut->setChecked(true);
    ui->serial_groupbox->setVisible(true);
}

void Widget::on_ttlchoose_clicked()
{
    QMessageBox::information(
        this, QStringLiteral("输出提示"),
        QStringLiteral("配置和传输通道将会被改成TTL,下次连接配置工具需要扫码配置换通道"));
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
    chooseOutputChannel(*this, "weigenOut");
}

void Widget::on_keyboardOut_clicked()
{
    chooseOutputChannel(*this, "keyboardOut");
}

void Widget::on_serialOut_clicked()
{
    chooseOutputChannel(*this, "serialOut");
}

void Widget::on_ttlOut_clicked()
{
    chooseOutputChannel(*this, "ttlOut");
}

void Widget::on_wifiOut_clicked()
{
    chooseOutputChannel(*this, "wifiOut");
}

void Widget::on_ethernetOut_clicked()
{
    chooseOutputChannel(*this, "ethernetOut");
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
    confirmVoltage(ui->lowvoltage, ui->highvoltage,
                   QStringLiteral("是否将ZB52输出电压更改为3.3V？此操作需要确认设备之间电压兼容性"));
}

void Widget::on_highvoltage_clicked()
{
    confirmVoltage(ui->highvoltage, ui->lowvoltage,
                   QStringLiteral("是否将ZB52输出电压更改为4.3V？此操作需要确认设备之间电压兼容性"));
}

// ---- Product series ------------------------------------------------------

void Widget::on_tarvo_ZB_clicked()
{
    chooseSeries(*this, ZB);
}

void Widget::on_tarvo_RN450_clicked()
{
    chooseSeries(*this, RN450);
}

void Widget::on_tarvo_E200FK_clicked()
{
    chooseSeries(*this, E200FK);
}

void Widget::on_tarvo_RN310_clicked()
{
    chooseSeries(*this, RN310);
}

void Widget::on_tarvo_PL_clicked()
{
    chooseSeries(*this, PL);
}

void Widget::on_tarvo_HD5000_clicked()
{
    chooseSeries(*this, HD5000);
}

void Widget::on_tarvo_KS_clicked()
{
    chooseSeries(*this, KS);
}

void Widget::on_tarvo_WT_clicked()
{
    chooseSeries(*this, WT);
}

void Widget::on_tarvo_rseven_clicked()
{
    chooseSeries(*this, Rseven);
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
