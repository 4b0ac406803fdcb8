#ifndef TARVO_REVIEW_SAVE_REVIEW_H
#define TARVO_REVIEW_SAVE_REVIEW_H

// What a save will change on the reader, shown before it writes.

#include <QDialog>
#include <QString>
#include <vector>

#include "config/form_value.h"
#include "records/record_store.h"

class QLineEdit;

// One line of what a save changes on the reader, in the form's words; a
// password change has the setting alone.
struct ReaderChange
{
    QString setting;
    QString page;
    QString before;
    QString after;
};

// The keys a save changes on the reader (core/save_records.h
// changesOnReader) in the form's words, then the password line when the
// save hands the reader a new password.
std::vector<ReaderChange> readerChanges(const std::vector<records::Change> &changes, bool newPassword,
                                        const QString &passwordLine);

// The page's name as the review shows it (source text, context "ReaderReview").
const char *pageWords(config::Page page);

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

    QLineEdit *placeEdit() const { return place_; }

private:
    QLineEdit *place_;
};

#endif
