#ifndef TARVO_APP_READER_REVIEW_H
#define TARVO_APP_READER_REVIEW_H

// The reader's configuration beside the form: the value last read from the
// reader, whether the form took it, and the form's value when its work was
// last kept somewhere (the start, a load, a file, a save). With them a
// connect asks before it would replace unsaved work, and a save shows the
// settings it would change that the user has not seen.

#include <QDialog>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "config/form_value.h"

class ConfigFileController;
class FormBinding;
class QLineEdit;
class QPushButton;
class QTableWidget;

// One line of what a save changes on the reader, in the form's words; a
// password change has the setting alone.
struct ReaderChange
{
    QString setting;
    QString page;
    QString before;
    QString after;
};

// The settings in which value differs from the reader's, then the password
// line when value changes the password.
std::vector<ReaderChange> readerChanges(const config::FormValue &reader, const config::FormValue &value,
                                        const QString &passwordLine);

// The changes as a box's informative text: at most kShownChanges lines,
// then how many there are in all.
constexpr int kShownChanges = 10;
QString changesText(const std::vector<ReaderChange> &changes);

// Lists the settings a save will change, with the reader's place, 写入读卡器
// and 取消.
class SaveReviewDialog : public QDialog
{
    Q_OBJECT

public:
    SaveReviewDialog(const std::vector<ReaderChange> &changes, QWidget *parent);

    QTableWidget *table() const { return table_; }
    QPushButton *writeButton() const { return write_; }
    QPushButton *cancelButton() const { return cancel_; }
    QLineEdit *placeEdit() const { return place_; }

private:
    QTableWidget *table_;
    QLineEdit *place_;
    QPushButton *write_;
    QPushButton *cancel_;
};

class ReaderReview : public QObject
{
    Q_OBJECT

public:
    ReaderReview(const FormBinding &binding, const ConfigFileController &files, QWidget *window);

    enum class ConnectChoice { LoadReader, KeepForm, Cancel };
    // Asks when the form holds unsaved changes or an open file; loads the
    // reader without a question otherwise.
    ConnectChoice askBeforeConnect() const;
    // A connect read the reader's value; loaded when the form took it.
    void readerRead(const config::FormValue &reader, bool loaded, const QString &firmware);
    // The reader's firmware version as the last connect read it.
    const QString &firmware() const { return firmware_; }
    // Every setting value changes on the reader, one a line, for the record.
    QString allChanges(const config::FormValue &value) const;
    // Before value is written: true to go on. The review shows when the form
    // did not come from this reader and would change something on it; the
    // place typed there is remembered.
    bool confirmSave(const config::FormValue &value) const;
    // The reader confirmed value: the changes for the success box, and value
    // is the reader's from now on.
    QString saved(const config::FormValue &value);

private:
    void fileOpened();

    const FormBinding &binding;
    const ConfigFileController &files;
    QWidget *window;
    std::optional<config::FormValue> reader;
    bool loaded = false;
    QString firmware_;
    config::FormValue kept;
};

#endif
