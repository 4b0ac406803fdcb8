#ifndef TARVO_CONFIG_SERIES_H
#define TARVO_CONFIG_SERIES_H

// What each reader series offers, the one table that the interlocks, the
// build and the import read.

#include <QCheckBox>

#include "config/form_widget.h"

namespace series {

// The series, in the column order of kSeriesWidgets.
enum Series { ZB, RN450, E200FK, RN310, PL, HD5000, KS, WT, Rseven, Count };

struct Facts
{
    QCheckBox *Ui_Widget::*box;
    bool nfcPage;    // the NFC page button shows for its readers
    bool nfcEntries; // its texts carry the NFC group
    bool secondUart; // its TTL line is the reader's second UART
};

using W = Ui_Widget;

inline constexpr Facts kSeries[Count] = {
    {&W::tarvo_ZB, true, true, false},      {&W::tarvo_RN450, false, false, true},
    {&W::tarvo_E200FK, true, true, false},  {&W::tarvo_RN310, false, false, true},
    {&W::tarvo_PL, true, true, false},      {&W::tarvo_HD5000, true, true, false},
    {&W::tarvo_KS, false, true, false},     {&W::tarvo_WT, false, true, false},
    {&W::tarvo_rseven, false, true, true},
};

// Whether a checked series has the fact (has is true) or lacks it (false).
inline bool checkedSeries(const Ui_Widget &form, bool Facts::*fact, bool has = true)
{
    for (const Facts &facts : kSeries)
        if ((form.*facts.box)->isChecked() && facts.*fact == has)
            return true;
    return false;
}

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
    {formWidget<&W::greenlight>,        "SHHHHSHSH"},
    {formWidget<&W::nfc_flagreen>,      "S-H-HS-SH"},
    {formWidget<&W::redlight>,          "SHSSSSHSH"},
    {formWidget<&W::buzzers>,           "SHSSSSSSS"},
    {formWidget<&W::label_29>,          "SHSSSSSSS"},
    {formWidget<&W::beepinterval>,      "SHSSSSSSS"},
    {formWidget<&W::label_30>,          "SHSSSSSSS"},
    {formWidget<&W::label_14>,          "SHSSSSSSS"},
    {formWidget<&W::lightoffinterval>,  "SHSSSSSSS"},
    {formWidget<&W::label_15>,          "SHSSSSSSS"},
    {formWidget<&W::Flightgreenaction>, "SHHHHSSSH"},
    {formWidget<&W::Slightgreenaction>, "SHHHHSSSH"},
    {formWidget<&W::outputhight>,       "SHHHHSHSH"},
    {formWidget<&W::lowvoltage>,        "SHHHHSHSH"},
    {formWidget<&W::highvoltage>,       "SHHHHSHSH"},
    {formWidget<&W::keyboardOut>,       "SSSSSSSSS"},
    {formWidget<&W::serialOut>,         "SSSSSSSSS"},
    {formWidget<&W::ttlOut>,            "SSSSSSHHS"},
    {formWidget<&W::wifiOut>,           "SHHHSHHHH"},
    {formWidget<&W::weigenOut>,         "SHHHSHHHH"},
    {formWidget<&W::ethernetOut>,       "SHHHHHHHH"},
    {formWidget<&W::serialchoose>,      "SSSSSSSSS"},
    {formWidget<&W::ttlchoose>,         "SSSSSSHHS"},
    {formWidget<&W::usbhidchoose>,      "SSSSSSSSS"},
    {formWidget<&W::serialdragxieyi>,   "SHHHHHHHH"},
    {formWidget<&W::tarvoxy>,           "SSSSSSSSS"},
    {formWidget<&W::nfc_option>,        "SHSHSSHHH"},
    {formWidget<&W::ip_modegroupbox>,   "SHHHHHHSH"},
    {formWidget<&W::pay_light>,         "HHHHHHSHH"},
    {formWidget<&W::pay_light_play>,    "HHHHHHSHH"},
    {formWidget<&W::ganyingmode>,       "HHHHHHHSH"},
    {formWidget<&W::paymode>,           "HHHHHHSHH"},
    {formWidget<&W::gunmode>,           "HHHHHHHSH"},
    {formWidget<&W::developmode>,       "SSSSSSSH-"},
    {formWidget<&W::ledControl>,        "SSSSSSSH-"},
    {formWidget<&W::lightoff>,          "SSSSSSSH-"},
    {formWidget<&W::groupBox_12>,       "SSSSSSSH-"},
    {formWidget<&W::wgoption>,          "-HHHHHH-H"},
    {formWidget<&W::ethoption>,         "-HHHHHH-H"},
    {formWidget<&W::wifioption>,        "-HHH-H--H"},
};

} // namespace series

#endif
