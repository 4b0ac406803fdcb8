#ifndef TARVO_WINDOW_OPTION_PAGES_H
#define TARVO_WINDOW_OPTION_PAGES_H

// Pages of the options area (stacked_widget), in the order the form adds them.
enum OptionPage {
    NfcPage = 0,
    WiegandPage = 1,
    NetworkPage = 2,
    PasswordPage = 3,
    GeneralPage = 4,
};

class Ui_Widget;

// Shows the new-password fields for a change of the configuration password,
// hides them to keep it, and checks the matching box of the pair alone.
void choosePasswordChange(Ui_Widget &ui, bool change);

// The bounds of the form's fields that the form itself does not set: the
// window's and any other form's that must hold the same values.
void setFieldBounds(Ui_Widget &ui);

#endif
