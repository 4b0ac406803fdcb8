#ifndef TARVO_APP_CODE_FRESHNESS_H
#define TARVO_APP_CODE_FRESHNESS_H

#include <QObject>
#include <QString>

class QAbstractButton;
class QWidget;
class Ui_Widget;

// Tells the moment the form stops saying what the config code on screen
// says. It listens to every input of the window, found by kind (line edits,
// combo boxes, sliders, checkable buttons), so that fields added to the form
// are watched without a list to keep; while a code is watched, each change
// builds the form's signed text again and compares.
//
// What counts is the whole signed text. The configuration password signs
// the code, so a change to it counts: the code on screen was signed with a
// password the form no longer holds, and a reader keyed with the new one
// refuses it. A new password rides inside the code and counts as well. Its
// confirmation is no part of the code and does not count.
class CodeFreshness : public QObject
{
    Q_OBJECT

public:
    CodeFreshness(const Ui_Widget &form, QWidget *window);

    // Watches the form against the code of this signed text, just made from
    // it; an empty text watches nothing.
    void watch(const QString &signedText);

signals:
    // Once per watched code, on the first change that makes it differ.
    void stale();

private:
    void listenTo(QObject *parent);
    void listenToButton(QAbstractButton *button);
    void check();

    const Ui_Widget &form;
    QString watched;
    // A checkable button between its press and its release: its toggle is
    // judged once its click has run, since the window's slot for that click
    // may take the toggle back (a declined voltage warning).
    bool clickRunning = false;
};

#endif
