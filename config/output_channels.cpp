#include "config/output_channels.h"

#include "config/series.h"

namespace output_channels {

namespace {

using W = config::FormValue;
using config::Part;

constexpr Part kNfcPage = Part::NfcPageButton;
constexpr Part kSerialBox = Part::SerialBox;
constexpr Part kWifiPage = Part::WifiPageButton;
constexpr Part kEthernetPage = Part::EthernetPageButton;
constexpr Part kWiegandPage = Part::WiegandPageButton;
constexpr Part kIpModeBox = Part::IpModeBox;
constexpr Part kWifiBox1 = Part::WifiBox1;
constexpr Part kWifiBox2 = Part::WifiBox2;
constexpr Part kEthernetBox = Part::EthernetBox;

config::FormStep shown(Part part, bool show)
{
    config::FormStep step{show ? config::FormStep::Show : config::FormStep::Hide};
    step.part = part;
    return step;
}

config::FormStep checked(config::Flag button)
{
    config::FormStep step{config::FormStep::Check};
    step.flag = button;
    return step;
}

} // namespace

const Channel kChannels[6] = {
    {&W::keyboardOut,
     1,
     {Group::General, Group::Nfc},
     {{Op::NfcPageRule, kNfcPage},
      {Op::Check, kNfcPage, &W::tenformout},
      {Op::Hide, kWiegandPage},
      {Op::Hide, kEthernetPage},
      {Op::Hide, kWifiPage},
      {Op::Hide, kSerialBox}},
     false,
     {{Op::ShowNfcPageForSeries, kNfcPage},
      {Op::Hide, kSerialBox},
      {Op::Hide, kWifiPage},
      {Op::Hide, kEthernetPage},
      {Op::Hide, kWiegandPage},
      {Op::Hide, kIpModeBox}}},
    {&W::serialOut,
     2,
     {Group::General, Group::Serial, Group::Nfc},
     {{Op::NfcPageRule, kNfcPage},
      {Op::Check, kNfcPage, &W::tenformout},
      {Op::Hide, kWiegandPage},
      {Op::Hide, kEthernetPage},
      {Op::Hide, kWifiPage},
      {Op::Show, kSerialBox}},
     false,
     {{Op::Show, kSerialBox},
      {Op::ShowNfcPageForSeries, kNfcPage},
      {Op::Hide, kWifiPage},
      {Op::Hide, kEthernetPage},
      {Op::Hide, kWiegandPage},
      {Op::Hide, kIpModeBox}}},
    {&W::ttlOut,
     4,
     {Group::General, Group::Serial, Group::Nfc},
     {{Op::Check, kNfcPage, &W::tenformout},
      {Op::NfcPageRule, kNfcPage},
      {Op::Hide, kWiegandPage},
      {Op::Hide, kEthernetPage},
      {Op::Hide, kWifiPage},
      {Op::Show, kSerialBox}},
     false,
     {{Op::Show, kSerialBox},
      {Op::ShowNfcPageForSeries, kNfcPage},
      {Op::Hide, kWifiPage},
      {Op::Hide, kEthernetPage},
      {Op::Hide, kWiegandPage},
      {Op::Hide, kIpModeBox}}},
    {&W::wifiOut,
     8,
     {Group::General, Group::Nfc, Group::Network},
     {{Op::Check, kNfcPage, &W::tenformout},
      {Op::NfcPageRule, kNfcPage},
      {Op::Hide, kWiegandPage},
      {Op::Hide, kEthernetPage},
      {Op::Show, kWifiPage},
      {Op::Hide, kSerialBox},
      {Op::Show, kWifiBox1},
      {Op::Show, kWifiBox2},
      {Op::Hide, kEthernetBox}},
     false,
     {{Op::Hide, kSerialBox},
      {Op::ShowNfcPageForSeries, kNfcPage},
      {Op::Show, kWifiPage},
      {Op::Hide, kEthernetPage},
      {Op::Hide, kWiegandPage},
      {Op::Show, kWifiBox1},
      {Op::Show, kWifiBox2},
      {Op::Hide, kEthernetBox},
      {Op::Hide, kIpModeBox}}},
    // The Wiegand channel shows the NFC page button whatever the series.
    {&W::weigenOut,
     16,
     {Group::General, Group::Nfc, Group::Wiegand},
     {{Op::CheckWhenChosen, kNfcPage, &W::zjformout},
      {Op::ShowNfcPage, kNfcPage},
      {Op::Show, kWiegandPage},
      {Op::Hide, kEthernetPage},
      {Op::Hide, kWifiPage}},
     false,
     {{Op::Hide, kSerialBox},
      {Op::ShowNfcPageForSeries, kNfcPage},
      {Op::Hide, kWifiPage},
      {Op::Hide, kEthernetPage},
      {Op::Show, kWiegandPage},
      {Op::Hide, kIpModeBox},
      {Op::CheckWhenChosen, kNfcPage, &W::zjformout}}},
    {&W::ethernetOut,
     32,
     {Group::General, Group::Nfc, Group::Network},
     {{Op::Check, kNfcPage, &W::tenformout},
      {Op::NfcPageRule, kNfcPage},
      {Op::Hide, kWiegandPage},
      {Op::Show, kEthernetPage},
      {Op::Hide, kWifiPage},
      {Op::Hide, kWifiBox1},
      {Op::Hide, kWifiBox2},
      {Op::Show, kEthernetBox}},
     true,
     {{Op::Hide, kSerialBox},
      {Op::ShowNfcPageForSeries, kNfcPage},
      {Op::Hide, kWiegandPage},
      {Op::Show, kEthernetPage},
      {Op::Hide, kWifiPage},
      {Op::Hide, kWifiBox1},
      {Op::Hide, kWifiBox2},
      {Op::Show, kEthernetBox},
      {Op::Show, kIpModeBox}}},
};

config::FormSteps resolveSteps(const config::FormValue &form, const Channel &channel,
                               const std::vector<Step> &steps, NfcButton nfcButton)
{
    const bool ownsNfcButton = nfcButton == NfcButton::FromSteps;
    const bool seriesHasNfcPage = series::checkedSeries(form, &series::Facts::nfcPage);
    config::FormSteps resolved;
    for (const Step &step : steps) {
        switch (step.op) {
        case Op::Check:
            resolved.push_back(checked(step.button));
            break;
        case Op::CheckWhenChosen:
            if (form.*channel.button)
                resolved.push_back(checked(step.button));
            break;
        case Op::Show:
        case Op::Hide:
            resolved.push_back(shown(step.part, step.op == Op::Show));
            break;
        case Op::NfcPageRule:
            if (ownsNfcButton)
                resolved.push_back(shown(step.part, seriesHasNfcPage));
            break;
        case Op::ShowNfcPage:
            if (ownsNfcButton)
                resolved.push_back(shown(step.part, true));
            break;
        case Op::ShowNfcPageForSeries:
            if (seriesHasNfcPage)
                resolved.push_back(shown(step.part, true));
            break;
        }
    }
    return resolved;
}

} // namespace output_channels
