#include "support/message_box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

MessageBoxAnswerer::MessageBoxAnswerer(QObject *parent) : QObject(parent)
{
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, this, &MessageBoxAnswerer::answerOpenBoxes);
    poll.start();
}

QStringList MessageBoxAnswerer::summary() const
{
    QStringList lines;
    for (const Seen &box : boxes)
        lines << box.title + QStringLiteral(" / ") + box.text;
    return lines;
}

void MessageBoxAnswerer::answerOpenBoxes()
{
    answered.removeAll(QPointer<QMessageBox>());
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (!box || !box->isVisible() || answered.contains(box))
            continue;
        answered.append(box);
        boxes.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                      box->parentWidget()});
        if (seenHook)
            seenHook(box);

        Reply reply = replies.isEmpty() ? Ok : replies.dequeue();
        QAbstractButton *button = nullptr;
        if (reply == Ok)
            button = box->button(QMessageBox::Ok);
        else if (reply == Yes)
            button = box->button(QMessageBox::Yes);
        else if (reply == No)
            button = box->button(QMessageBox::No);
        if (button)
            button->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    }
}
