#ifndef TARVO_CONFIG_OUTPUT_CHANNELS_H
#define TARVO_CONFIG_OUTPUT_CHANNELS_H

// The output channels: their bit in ochannel, the groups each writes, and
// what choosing one does to the form, on a click and on an import. The
// interlocks, the build and the import all read this one table.

#include <vector>

#include "config/form_steps.h"

namespace output_channels {

// The groups of entries a channel writes.
enum class Group { None, General, Serial, Nfc, Network, Wiegand };

enum class Op {
    Check,
    CheckWhenChosen, // check the widget only while the channel's button is checked
    Show,
    Hide,
    NfcPageRule,          // nfc_option shown exactly while the series has an NFC page
    ShowNfcPage,          // nfc_option shown whatever the series
    ShowNfcPageForSeries, // nfc_option shown when the series has an NFC page, else left
};

// A step names the part it shows or hides, or the button it checks.
struct Step
{
    Op op;
    config::Part part;
    config::Flag button = nullptr;
};

struct Channel
{
    config::Flag button;
    int bits;        // in ochannel
    Group groups[3]; // in the order they follow one another in the text
    std::vector<Step> chosenSteps;
    bool showsIpMode; // after a click, the IP mode group shows only for this channel
    std::vector<Step> importedSteps;
};

// In rising bit order, which is also the order their groups are written and
// an import applies them.
extern const Channel kChannels[6];

// Whether the steps decide nfc_option or leave it to the caller.
enum class NfcButton { FromSteps, LeftAlone };

// The steps as they come out for the form's value: conditions decided,
// each a check, a show or a hide.
config::FormSteps resolveSteps(const config::FormValue &form, const Channel &channel,
                               const std::vector<Step> &steps, NfcButton nfcButton);

} // namespace output_channels

#endif
