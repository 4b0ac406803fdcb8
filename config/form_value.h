#ifndef TARVO_CONFIG_FORM_VALUE_H
#define TARVO_CONFIG_FORM_VALUE_H

// The configuration value: what the form holds of every input the
// configuration text depends on, without any widget. The window shows one
// and reads one back (app/form_binding.h); the builders, the field rules,
// the import, the files and the command line work on it alone.

#include <QString>
#include <QStringList>
#include <vector>

#include "config/form_fields.h"

namespace config {

// Where an input stands: beside the pages, or on one of them.
enum class Page { MainArea, GeneralPage, NfcPage, WiegandPage, NetworkPage, PasswordPage };

// The sets of radio buttons that exclude each other.
enum class RadioSet {
    None,
    WorkMode,
    OutputChannel,
    ConfigChannel,
    AffixForm,
    Decoder,
    ScanMode,
    ScanOutputForm,
    CardAffixForm,
    CardNumberForm,
    CardOrder,
    IdCardOrder,
    WiegandFormat,
    WifiMethod,
    EthernetMethod,
    Heartbeat,
    IpMode,
};

struct FormValue
{
#define TARVO_VALUE_FLAG(name, ...) bool name = false;
#define TARVO_VALUE_TEXT(name, ...) QString name;
#define TARVO_VALUE_NUMBER(name, ...) int name = 0;
    TARVO_FORM_FIELDS(TARVO_VALUE_FLAG, TARVO_VALUE_FLAG, TARVO_VALUE_TEXT, TARVO_VALUE_TEXT, TARVO_VALUE_NUMBER)
#undef TARVO_VALUE_FLAG
#undef TARVO_VALUE_TEXT
#undef TARVO_VALUE_NUMBER

    bool operator==(const FormValue &other) const;
    bool operator!=(const FormValue &other) const
    {
        return !(*this == other);
    }

    // Checks a radio button and unchecks the others of its set, as the
    // form's own buttons do; a check box is simply checked.
    void check(bool FormValue::*button);
    // A combo box takes only a text among its items, and the slider clamps
    // to its range, as the widgets do; false when the value was not taken
    // as it is.
    bool setChoice(QString FormValue::*combo, const QString &text);
    bool setNumber(int FormValue::*number, int value);
};

using Flag = bool FormValue::*;
using TextField = QString FormValue::*;

// One input of the form, as the table names it.
struct FieldInfo
{
    enum Kind { Check, Radio, Text, Combo, Number } kind;
    const char *name;  // the widget's object name
    const char *words; // the caption or label the form shows for it
    const char *group; // the title of the group it stands in
    Page page;
    RadioSet set;
    Flag flag = nullptr;      // Check and Radio
    TextField text = nullptr; // Text and Combo
    int FormValue::*number = nullptr;
};

// Every input, in the table's order.
const std::vector<FieldInfo> &formFields();
const FieldInfo &fieldOf(Flag flag);
const FieldInfo &fieldOf(TextField text);

// The items of a combo box, in the form's order.
const QStringList &comboItems(TextField combo);
// The slider's range.
constexpr int kBrightnessMin = 0;
constexpr int kBrightnessMax = 255;

// The form as the window starts: the boxes checked and the texts filled
// before the user touches anything.
const FormValue &startValue();

// One setting that differs between two values, in the form's own words:
// the setting (a box's caption, a field's label, or a radio set's title),
// the title of its group and its page, and each value as the form shows it
// (a radio set by its chosen button's caption, a box as ☑ or ☐).
struct SettingChange
{
    const char *setting;
    const char *group;
    Page page;
    QString before;
    QString after;
    // Whether before and after are the form's words (captions) rather than
    // values typed or read.
    bool captions = false;
};

// The settings in which after differs from before, in the order of the
// form. The passwords are no settings and never appear: whether a value
// changes the reader's password is for the caller to say. A changed Wi-Fi
// password shows as asterisks, an address without its credentials: what a
// change says is shown, kept and exported.
std::vector<SettingChange> differences(const FormValue &before, const FormValue &after);

// The value without its secrets, for whatever keeps a configuration beyond
// a file the user chose (the record of saves): no Wi-Fi password, and the
// HTTP address without its credentials, so that the record still says
// which server the reader was given. The window, opening such a value,
// asks for the secrets again (window/secret_prompt.h).
FormValue withoutSecrets(FormValue value);

} // namespace config

#endif
