#ifndef TARVO_OUTPUTTEST_OUTPUT_TEST_WINDOW_H
#define TARVO_OUTPUTTEST_OUTPUT_TEST_WINDOW_H

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <optional>

#include "receivers/output_log.h"
#include "receivers/output_test_settings.h"

class QAction;
class QHostAddress;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableView;
class QTimer;
class FormSource;
class KeyboardCapture;

namespace output_test {
class OutputReceiver;
struct OpenFailure;
} // namespace output_test

// Shows what a configured reader sends: a receiver for the channel the
// form chose (or another one picked here), each message with the form's
// prefix, suffix and terminator marked or said missing. It follows the
// form while open: a changed port moves the receiver, the log stays. It
// receives only once started, on the interface chosen; stopping or closing
// it frees the port. A window of its own rather than a dialog: Enter in its
// fields must not press its buttons, nor Escape drop what it received.
class OutputTestWindow : public QWidget
{
    Q_OBJECT

public:
    OutputTestWindow(const FormSource &form, QWidget *parent);
    ~OutputTestWindow() override;

    // Writes every message as a line of text; false after saying why not.
    bool saveTo(const QString &path);

private:
    QWidget *makeSettingsRow();
    QComboBox *makeListenChoice(QWidget *row);
    QHostAddress listenAddress() const;
    void formChanged();
    void followTheForm();
    QString whyReopen() const;
    QWidget *makeMessageViews();
    QTableView *makeMessageTable(QWidget *parent);
    QTableView *makePeerView(QWidget *page);
    QWidget *makeButtonRow();
    output_test::Channel channel() const;
    void channelChosen();
    void toggle();
    void start();
    void showPeers();
    void stop();
    std::optional<output_test::OpenFailure> openReceiver();
    void applyReply();
    void showOpenFailure(const output_test::OpenFailure &failure);
    void updateCounts();
    void showDetails();
    void copyMessages();
    void chooseFileToSave();

    const FormSource &form;
    output_test::Settings settings;
    output_test::OutputLog *messages;
    QPointer<output_test::OutputReceiver> receiver;
    QComboBox *channels;
    QLabel *portLabel;
    QSpinBox *port;
    QComboBox *listenChoice;
    QComboBox *serialPort;
    QLineEdit *reply;
    QPushButton *starting;
    QLabel *status;
    QLabel *counts;
    QStackedWidget *views;
    QTableView *table;
    QTableView *peerView;
    QPlainTextEdit *details;
    KeyboardCapture *capture;
    QLabel *wiegandNote;
    // What the receiver is doing, before the latest note of its peers.
    QString receiving;
    // What the running receiver was opened with, for the form's changes
    // to be followed once the form is still.
    output_test::Settings openedWith;
    int openedPort = 0;
    QTimer *formSettles;
    bool followNewest = true;
};

#endif
