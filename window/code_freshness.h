#ifndef TARVO_WINDOW_CODE_FRESHNESS_H
#define TARVO_WINDOW_CODE_FRESHNESS_H

#include <QObject>
#include <QString>

class FormBinding;

// Tells the moment the form stops saying what the config code on screen
// says: while a code is watched, each change of the form's value builds its
// signed text again and compares.
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
    CodeFreshness(const FormBinding &form, QObject *parent);

    // Watches the form against the code of this signed text, just made from
    // it; an empty text watches nothing.
    void watch(const QString &signedText);

signals:
    // Once per watched code, on the first change that makes it differ.
    void stale();

private:
    void check();

    const FormBinding &form;
    QString watched;
};

#endif
