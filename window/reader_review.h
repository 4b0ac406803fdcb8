#ifndef TARVO_WINDOW_READER_REVIEW_H
#define TARVO_WINDOW_READER_REVIEW_H

// The reader's configuration beside the form: the reader's own text as last
// read from it (by a connect, or read back after a save), which reader that
// was, whether the form took it, and the form's value when its work was
// last kept somewhere (the start, a load, a file, a save). With them a
// connect asks before it would replace unsaved work, and a save lists what
// it changes on the reader, key by key as the configuration script reads
// both texts: the review, the success box and the record say the same.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "config/form_value.h"
#include "records/record_store.h"
#include "review/save_review.h"

class ConfigFileController;
class FormBinding;

class ReaderReview : public QObject
{
    Q_OBJECT

public:
    ReaderReview(const FormBinding &binding, const ConfigFileController &files, QWidget *window);

    enum class ConnectChoice { LoadReader, KeepForm, Cancel };
    // Asks when the form holds unsaved changes or an open file, or was last
    // written to another reader than link; loads the reader without a
    // question otherwise.
    ConnectChoice askBeforeConnect(const QString &link) const;
    // A connect read the reader's text at link; loaded when the form took it.
    void readerRead(const QByteArray &readerText, bool loaded, const QString &firmware, const QString &link);
    // Another reader was chosen: nothing of the last one is kept.
    void forgetReader();
    // Whether the last connect read the reader at link.
    bool knowsReader(const QString &link) const;
    // The reader's firmware version as the last connect read it.
    const QString &firmware() const { return firmware_; }
    // What writing sentText changes on the reader.
    std::vector<records::Change> changesOf(const QString &sentText) const;
    // Before sentText is written: true to go on. The review shows when the
    // form did not come from this reader and the save changes something on
    // it; the place typed there is remembered.
    bool confirmSave(const QString &sentText, const std::vector<records::Change> &changes) const;
    // The reader at link confirmed value, and gave readBack: the changes for
    // the success box, and the reader holds readBack from now on.
    QString saved(const config::FormValue &value, const QString &sentText,
                  const std::vector<records::Change> &changes, const std::optional<QByteArray> &readBack,
                  const QString &link);

private:
    void fileOpened();

    const FormBinding &binding;
    const ConfigFileController &files;
    QWidget *window;
    std::optional<QByteArray> readerText;
    QString readerLink;
    bool loaded = false;
    QString firmware_;
    config::FormValue kept;
    // The reader the form was last written to; empty before the first save.
    QString writtenLink;
};

#endif
