#ifndef TARVO_WINDOW_SERIES_WIDGETS_H
#define TARVO_WINDOW_SERIES_WIDGETS_H

#include "config/series.h"
#include "window/form_widget.h"

namespace series {

using UiW = Ui_Widget;

// What choosing a series does to each widget that depends on it: one letter
// per series, in the columns ZB, RN450, E200FK, RN310, PL, HD5000, KS, WT,
// rseven. S shows the widget, H hides it, - leaves it as it is. The rows are
// in the order the widgets are touched.
struct WidgetRow
{
    FormWidget widget;
    char cells[Count + 1];
};

inline const WidgetRow kSeriesWidgets[] = {
    {formWidget<&UiW::greenlight>, "SHHHHSHSH"},        {formWidget<&UiW::nfc_flagreen>, "S-H-HS-SH"},
    {formWidget<&UiW::redlight>, "SHSSSSHSH"},          {formWidget<&UiW::buzzers>, "SHSSSSSSS"},
    {formWidget<&UiW::label_29>, "SHSSSSSSS"},          {formWidget<&UiW::beepinterval>, "SHSSSSSSS"},
    {formWidget<&UiW::label_30>, "SHSSSSSSS"},          {formWidget<&UiW::label_14>, "SHSSSSSSS"},
    {formWidget<&UiW::lightoffinterval>, "SHSSSSSSS"},  {formWidget<&UiW::label_15>, "SHSSSSSSS"},
    {formWidget<&UiW::Flightgreenaction>, "SHHHHSSSH"}, {formWidget<&UiW::Slightgreenaction>, "SHHHHSSSH"},
    {formWidget<&UiW::outputhight>, "SHHHHSHSH"},       {formWidget<&UiW::lowvoltage>, "SHHHHSHSH"},
    {formWidget<&UiW::highvoltage>, "SHHHHSHSH"},       {formWidget<&UiW::keyboardOut>, "SSSSSSSSS"},
    {formWidget<&UiW::serialOut>, "SSSSSSSSS"},         {formWidget<&UiW::ttlOut>, "SSSSSSHHS"},
    {formWidget<&UiW::wifiOut>, "SHHHSHHHH"},           {formWidget<&UiW::weigenOut>, "SHHHSHHHH"},
    {formWidget<&UiW::ethernetOut>, "SHHHHHHHH"},       {formWidget<&UiW::serialchoose>, "SSSSSSSSS"},
    {formWidget<&UiW::ttlchoose>, "SSSSSSHHS"},         {formWidget<&UiW::usbhidchoose>, "SSSSSSSSS"},
    {formWidget<&UiW::serialdragxieyi>, "SHHHHHHHH"},   {formWidget<&UiW::tarvoxy>, "SSSSSSSSS"},
    {formWidget<&UiW::nfc_option>, "SHSHSSHHH"},        {formWidget<&UiW::ip_modegroupbox>, "SHHHHHHSH"},
    {formWidget<&UiW::pay_light>, "HHHHHHSHH"},         {formWidget<&UiW::pay_light_play>, "HHHHHHSHH"},
    {formWidget<&UiW::ganyingmode>, "HHHHHHHSH"},       {formWidget<&UiW::paymode>, "HHHHHHSHH"},
    {formWidget<&UiW::gunmode>, "HHHHHHHSH"},           {formWidget<&UiW::developmode>, "SSSSSSSH-"},
    {formWidget<&UiW::ledControl>, "SSSSSSSH-"},        {formWidget<&UiW::lightoff>, "SSSSSSSH-"},
    {formWidget<&UiW::groupBox_12>, "SSSSSSSH-"},       {formWidget<&UiW::wgoption>, "-HHHHHH-H"},
    {formWidget<&UiW::ethoption>, "-HHHHHH-H"},         {formWidget<&UiW::wifioption>, "-HHH-H--H"},
};

} // namespace series

#endif
