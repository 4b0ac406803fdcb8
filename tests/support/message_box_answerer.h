#ifndef TARVO_TESTS_MESSAGE_BOX_ANSWERER_H
#define TARVO_TESTS_MESSAGE_BOX_ANSWERER_H

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QTimer>
#include <QVector>
#include <functional>

// Answers the modal message boxes that a test provokes, as a user would,
// and records what each box said. While an answerer lives, every box that
// opens is answered: with the next queued reply, or else with Ok (or, when
// the box has no Ok, with the Escape key). No box is ever left to hang a test.
class MessageBoxAnswerer : public QObject
{
    Q_OBJECT

public:
    // A reply: a standard button to click, or Escape to press the key.
    enum Reply { Ok, Yes, No, Escape, Save, Discard };

    struct Seen
    {
        QString title;
        QString text;
        QString detail; // the informative text
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QWidget *parent;
    };

    explicit MessageBoxAnswerer(QObject *parent = nullptr);

    void queue(Reply reply) { replies.enqueue({reply, QString()}); }
    // A click on the box's button of this text.
    void queue(const QString &buttonText) { replies.enqueue({Ok, buttonText}); }
    const QVector<Seen> &seen() const { return boxes; }

    void clear() { boxes.clear(); }

    // Runs for every box when it is seen, before it is answered, so that a
    // test can look at the box itself and at the form while the box is open.
    void onSeen(std::function<void(QMessageBox *)> hook) { seenHook = std::move(hook); }

    // "title / text" of every box seen, for readable failure messages.
    QStringList summary() const;

private:
    void answerOpenBoxes();

    QTimer poll;
    struct Queued
    {
        Reply reply;
        QString buttonText; // when set, the button to click
    };
    QQueue<Queued> replies;
    QVector<Seen> boxes;
    QList<QPointer<QMessageBox>> answered;
    std::function<void(QMessageBox *)> seenHook;
};

#endif
