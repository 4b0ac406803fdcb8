#include "support/message_box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMap>
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
        boxes.append({box->windowTitle(), box->text(), box->informativeText(), box->icon(),
                      box->standardButtons(), box->parentWidget()});
        if (seenHook)
            seenHook(box);

        static const QMap<Reply, QMessageBox::StandardButton> buttons = {{Ok, QMessageBox::Ok},
                                                                         {Yes, QMessageBox::Yes},
                                                                         {No, QMessageBox::No},
                                                                         {Save, QMessageBox::Save},
                                                                         {Discard, QMessageBox::Discard}};
        const Queued reply = replies.isEmpty() ? Queued{Ok, QString()} : replies.dequeue();
        QAbstractButton *button = box->button(buttons.value(reply.reply, QMessageBox::NoButton));
        if (!reply.buttonText.isEmpty()) {
            button = nullptr;
            for (QAbstractButton *offered : box->buttons())
                if (offered->text() == reply.buttonText)
                    button = offered;
        }
        if (button)
            button->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    }
}
