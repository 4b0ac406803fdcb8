#include "widgets/place_label.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>

#include "core/remembered_settings.h"
#include "widgets/boxes.h"

Q_LOGGING_CATEGORY(placeLog, "tarvo.records")

namespace place_label {

namespace {

const char kPlaceKey[] = "records/place";

} // namespace

QString cleaned(const QString &typed)
{
    QString text = typed;
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = QLatin1Char(' ');
    return text.simplified().left(kMostChars);
}

QString remembered()
{
    return cleaned(remembered::text(kPlaceKey));
}

void remember(const QString &place)
{
    remembered::store(kPlaceKey, cleaned(place));
}

QLineEdit *placeEdit(QWidget *parent)
{
    auto *edit = new QLineEdit(remembered(), parent);
    edit->setMaxLength(kMostChars);
    edit->setPlaceholderText(QCoreApplication::translate("PlaceLabel", "例如：3号楼 东门"));
    edit->setToolTip(QCoreApplication::translate("PlaceLabel", "这台读卡器的位置，记入配置记录"));
    return edit;
}

void addPlaceRow(QMessageBox &box, QLineEdit *edit)
{
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    QWidget *buttons = box.buttons().isEmpty() ? nullptr : box.buttons().first()->parentWidget();
    const int index = grid && buttons ? grid->indexOf(buttons) : -1;
    auto *row = new QWidget(&box);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QCoreApplication::translate("PlaceLabel", "位置："), row));
    layout->addWidget(edit);
    // Room for a building and a door, in a box otherwise sized to its text.
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 28);
    if (index < 0) { // a box laid out otherwise: the row goes last
        box.layout()->addWidget(row);
        return;
    }
    int at, column, rows, columns;
    grid->getItemPosition(index, &at, &column, &rows, &columns);
    grid->removeWidget(buttons);
    // Under the box's text, with the buttons below it.
    grid->addWidget(row, at, grid->columnCount() - 1);
    grid->addWidget(buttons, at + 1, column, rows, columns);
}

QString tellWithPlace(QWidget *window, const QString &title, const QString &text, const QString &detail,
                      const QString &place)
{
    QMessageBox box(QMessageBox::Information, title, plainShown(text), QMessageBox::Ok, window);
    showAsPlainText(box, detail);
    QLineEdit *edit = placeEdit(&box);
    edit->setText(place);
    addPlaceRow(box, edit);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return cleaned(edit->text());
}

void placeRenamed(const RecordedSave &recorded, const QString &place)
{
    remember(place);
    if (!recorded.id)
        return;
    if (const std::optional<QString> failure = renameRecordPlace(*recorded.id, place))
        qCWarning(placeLog) << "the record's place was not changed:" << *failure;
}

} // namespace place_label
