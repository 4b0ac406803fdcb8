#ifndef TARVO_OUTPUTTEST_KEYBOARD_CAPTURE_H
#define TARVO_OUTPUTTEST_KEYBOARD_CAPTURE_H

#include <QByteArray>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QList>
#include <QTimer>

// Takes what a keyboard reader types while it has the focus: the
// characters, with Enter and Tab kept as the terminators ⏎ and ⇥ instead
// of acting, and the time between keys, which tells a reader (a few
// milliseconds) from a person typing.
class KeyboardCapture : public QLineEdit
{
    Q_OBJECT

public:
    explicit KeyboardCapture(QWidget *parent = nullptr);

signals:
    // A code ended by a terminator or a pause; details give the pace.
    void typed(const QByteArray &bytes, const QString &details);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void finish(const QByteArray &terminator);

    QByteArray pending;
    QList<qint64> gaps;
    QElapsedTimer sinceLastKey;
    QTimer pause;
};

#endif
