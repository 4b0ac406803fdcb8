#ifndef TARVO_WINDOW_DEVICE_SESSION_H
#define TARVO_WINDOW_DEVICE_SESSION_H

// The reader beside the form: which one the window talks to (the chooser
// and the remembered choice, unless TRVO_DEVICE decides), what the status
// field says while a call runs, and a close request made meanwhile, which
// is honoured once the call and its box are done.

#include <QObject>
#include <QString>

#include "device/device_link.h"

class QLabel;
class QToolButton;
class QWidget;
class Ui_Widget;

class DeviceSession : public QObject
{
    Q_OBJECT

public:
    // Places the chooser's entry beside 连接设备, where nothing of the form lies.
    DeviceSession(Ui_Widget &form, QWidget *window);

    // TRVO_DEVICE when set, else the remembered choice; empty for the
    // device library's own default.
    QString link() const;
    // "读卡器：LINK" for the boxes' detail; empty while the default is used.
    QString linkNote() const;
    // The link as the device library reaches it: the library's default
    // spelled out when nothing is chosen. What a record names.
    QString reachedLink() const;

    // The start and end of one connect or save. While a call runs the status
    // field says so; a close request waits for end().
    class Call
    {
    public:
        Call(DeviceSession &session, const QString &status);
        ~Call();
        Call(const Call &) = delete;
        Call &operator=(const Call &) = delete;
        // The status field's text from now on (before the call's box); when
        // not settled, it gets back what it said before once the call ends.
        void settle(const QString &status);
        const QString &before() const { return before_; }

    private:
        DeviceSession &session_;
        QString before_;
        bool settled_ = false;
    };

    // Whether the last connect succeeded and nothing has dropped it since.
    bool connected() const { return connected_; }
    void setConnected(bool connected) { connected_ = connected; }

    // The channel to the chosen reader, open from the first connect on.
    device::Session &reader() { return reader_; }

    // Where the choice is kept (QSettings) under this key.
    static const char settingsKey[];

signals:
    // Another reader was chosen: the window shows nothing of the last one.
    void readerChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose();
    void showLink();

    device::Session reader_;
    QLabel *status_;
    QWidget *window_;
    QToolButton *entry_;
    bool connected_ = false;
    bool busy_ = false;
    bool closeRequested_ = false;
};

#endif
