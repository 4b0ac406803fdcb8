#ifndef TARVO_WINDOW_READER_REVIEW_H
#define TARVO_WINDOW_READER_REVIEW_H

// The reader's configuration beside the form: the value last read from the
// reader, whether the form took it, and the form's value when its work was
// last kept somewhere (the start, a load, a file, a save). With them a
// connect asks before it would replace unsaved work, and a save shows the
// settings it would change that the user has not seen.

#include <QObject>
#include <QString>
#include <optional>

#include "config/form_value.h"
#include "review/save_review.h"

class ConfigFileController;
class FormBinding;

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
