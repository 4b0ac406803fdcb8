#ifndef TARVO_WIDGETS_PLACE_LABEL_H
#define TARVO_WIDGETS_PLACE_LABEL_H

// Where a reader was put ("3号楼 东门"): typed in the review before a save
// or in the box that tells of one, kept with the save's record, and offered
// for the next reader until the user changes it.

#include <QString>

#include "core/save_records.h"

class QLineEdit;
class QMessageBox;
class QWidget;

namespace place_label {

constexpr int kMostChars = 100;

// A place as one line of plain text: controls and runs of blanks become
// one space, and it is cut at kMostChars.
QString cleaned(const QString &typed);

QString remembered();
void remember(const QString &place);

// A line edit holding the remembered place.
QLineEdit *placeEdit(QWidget *parent);
// Puts a "位置：" row with edit above the box's buttons.
void addPlaceRow(QMessageBox &box, QLineEdit *edit);

// The information box with the place row: the place as the user left it.
QString tellWithPlace(QWidget *window, const QString &title, const QString &text, const QString &detail,
                      const QString &place);

// The user named the place anew after the save was recorded: remembered for
// the next reader, and the record's place changed.
void placeRenamed(const RecordedSave &recorded, const QString &place);

} // namespace place_label

#endif
