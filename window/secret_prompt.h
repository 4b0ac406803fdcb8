#ifndef TARVO_WINDOW_SECRET_PROMPT_H
#define TARVO_WINDOW_SECRET_PROMPT_H

// A configuration opened without its secrets (a record keeps no Wi-Fi
// password and no address's credentials) must not write an empty password
// to a reader unnoticed: the field concerned is marked, the status field
// says what to type again, and until the Wi-Fi password is typed a code or
// a save asks first. An open network stays possible, on purpose.

#include <QObject>
#include <QString>

class QWidget;
class Ui_Widget;
class ConfigFileController;

class SecretPrompt : public QObject
{
public:
    SecretPrompt(Ui_Widget &form, const ConfigFileController &files, QWidget *window);

    // Before a code is made or a save writes: false when the user would
    // rather type the Wi-Fi password first.
    bool mayGoOn();

private:
    void opened();
    void markWifi(bool missing);
    void markAddress(bool missing);

    Ui_Widget &form;
    QWidget *window;
    bool wifiPending = false;
    QString wifiPlaceholder;
    QString addressToolTip;
};

#endif
