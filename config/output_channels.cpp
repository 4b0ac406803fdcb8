#include "config/output_channels.h"

#include "config/series.h"

namespace output_channels {

namespace {

using W = Ui_Widget;

constexpr FormWidget kNfcPage = formWidget<&W::nfc_option>;
constexpr FormWidget kSerialBox = formWidget<&W::serial_groupbox>;
constexpr FormWidget kWifiPage = formWidget<&W::wifioption>;
constexpr FormWidget kEthernetPage = formWidget<&W::ethoption>;
constexpr FormWidget kWiegandPage = formWidget<&W::wgoption>;
constexpr FormWidget kIpModeBox = formWidget<&W::ip_modegroupbox>;
constexpr FormWidget kWifiBox1 = formWidget<&W::wifi1_group>;
constexpr FormWidget kWifiBox2 = formWidget<&W::wifi2_group>;
constexpr FormWidget kEthernetBox = formWidget<&W::eth1_group>;
constexpr FormWidget kDecimalCards = formWidget<&W::tenformout>;
constexpr FormWidget kRawCards = formWidget<&W::zjformout>;

void check(QWidget *widget)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setChecked(true);
}

} // namespace

const Channel kChannels[6] = {
    {&W::keyboardOut, 1, {Group::General, Group::Nfc},
     {{Op::NfcPageRule, kNfcPage}, {Op::Check, kDecimalCards}, {Op::Hide, kWiegandPage},
      {Op::Hide, kEthernetPage}, {Op::Hide, kWifiPage}, {Op::Hide, kSerialBox}},
     false,
     {{Op::ShowNfcPageForSeries, kNfcPage}, {Op::Hide, kSerialBox}, {Op::Hide, kWifiPage},
      {Op::Hide, kEthernetPage}, {Op::Hide, kWiegandPage}, {Op::Hide, kIpModeBox}}},
    {&W::serialOut, 2, {Group::General, Group::Serial, Group::Nfc},
     {{Op::NfcPageRule, kNfcPage}, {Op::Check, kDecimalCards}, {Op::Hide, kWiegandPage},
      {Op::Hide, kEthernetPage}, {Op::Hide, kWifiPage}, {Op::Show, kSerialBox}},
     false,
     {{Op::Show, kSerialBox}, {Op::ShowNfcPageForSeries, kNfcPage}, {Op::Hide, kWifiPage},
      {Op::Hide, kEthernetPage}, {Op::Hide, kWiegandPage}, {Op::Hide, kIpModeBox}}},
    {&W::ttlOut, 4, {Group::General, Group::Serial, Group::Nfc},
     {{Op::Check, kDecimalCards}, {Op::NfcPageRule, kNfcPage}, {Op::Hide, kWiegandPage},
      {Op::Hide, kEthernetPage}, {Op::Hide, kWifiPage}, {Op::Show, kSerialBox}},
     false,
     {{Op::Show, kSerialBox}, {Op::ShowNfcPageForSeries, kNfcPage}, {Op::Hide, kWifiPage},
      {Op::Hide, kEthernetPage}, {Op::Hide, kWiegandPage}, {Op::Hide, kIpModeBox}}},
    {&W::wifiOut, 8, {Group::General, Group::Nfc, Group::Network},
     {{Op::Check, kDecimalCards}, {Op::NfcPageRule, kNfcPage}, {Op::Hide, kWiegandPage},
      {Op::Hide, kEthernetPage}, {Op::Show, kWifiPage}, {Op::Hide, kSerialBox},
      {Op::Show, kWifiBox1}, {Op::Show, kWifiBox2}, {Op::Hide, kEthernetBox}},
     false,
     {{Op::Hide, kSerialBox}, {Op::ShowNfcPageForSeries, kNfcPage}, {Op::Show, kWifiPage},
      {Op::Hide, kEthernetPage}, {Op::Hide, kWiegandPage}, {Op::Show, kWifiBox1},
      {Op::Show, kWifiBox2}, {Op::Hide, kEthernetBox}, {Op::Hide, kIpModeBox}}},
    // The Wiegand channel shows the NFC page button whatever the series.
    {&W::weigenOut, 16, {Group::General, Group::Nfc, Group::Wiegand},
     {{Op::CheckWhenChosen, kRawCards}, {Op::ShowNfcPage, kNfcPage},
      {Op::Show, kWiegandPage}, {Op::Hide, kEthernetPage}, {Op::Hide, kWifiPage}},
     false,
     {{Op::Hide, kSerialBox}, {Op::ShowNfcPageForSeries, kNfcPage}, {Op::Hide, kWifiPage},
      {Op::Hide, kEthernetPage}, {Op::Show, kWiegandPage}, {Op::Hide, kIpModeBox},
      {Op::CheckWhenChosen, kRawCards}}},
    {&W::ethernetOut, 32, {Group::General, Group::Nfc, Group::Network},
     {{Op::Check, kDecimalCards}, {Op::NfcPageRule, kNfcPage}, {Op::Hide, kWiegandPage},
      {Op::Show, kEthernetPage}, {Op::Hide, kWifiPage}, {Op::Hide, kWifiBox1},
      {Op::Hide, kWifiBox2}, {Op::Show, kEthernetBox}},
     true,
     {{Op::Hide, kSerialBox}, {Op::ShowNfcPageForSeries, kNfcPage}, {Op::Hide, kWiegandPage},
      {Op::Show, kEthernetPage}, {Op::Hide, kWifiPage}, {Op::Hide, kWifiBox1},
      {Op::Hide, kWifiBox2}, {Op::Show, kEthernetBox}, {Op::Show, kIpModeBox}}},
};

void runSteps(Ui_Widget &form, const Channel &channel, const std::vector<Step> &steps,
              NfcButton nfcButton)
{
    const bool ownsNfcButton = nfcButton == NfcButton::FromSteps;
    for (const Step &step : steps) {
        QWidget *widget = step.widget(form);
        switch (step.op) {
        case Op::Check:
            check(widget);
            break;
        case Op::CheckWhenChosen:
            if ((form.*channel.button)->isChecked())
                check(widget);
            break;
        case Op::Show:
        case Op::Hide:
            widget->setVisible(step.op == Op::Show);
            break;
        case Op::NfcPageRule:
            if (ownsNfcButton)
                widget->setVisible(series::checkedSeries(form, &series::Facts::nfcPage));
            break;
        case Op::ShowNfcPage:
            if (ownsNfcButton)
                widget->setVisible(true);
            break;
        case Op::ShowNfcPageForSeries:
            if (series::checkedSeries(form, &series::Facts::nfcPage))
                widget->setVisible(true);
            break;
        }
    }
}

} // namespace output_channels
