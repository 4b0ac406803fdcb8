#ifndef TARVO_WINDOW_CODE_ACTIONS_H
#define TARVO_WINDOW_CODE_ACTIONS_H

#include <QObject>
#include <QPointer>
#include <QString>

#include "config/form_value.h"
#include "qr/code_renderer.h"

class QAction;
class QLabel;
class QWidget;
class Ui_Widget;
class CodeFreshness;
class FormBinding;
class CodeZoomView;

// What the user does with the config code on screen: export it to a file,
// print it, copy it, or show it large. Holds the code the label shows and
// the summary printed under it; the actions are open only while there is a
// code and the form still says what it says.
class CodeActions : public QObject
{
    Q_OBJECT

public:
    // Adds the entry button beside the code label, the label's context menu
    // and the window's shortcuts.
    CodeActions(Ui_Widget &form, const FormBinding &binding, QWidget *window);

    // Called once the label shows the code of this signed text, built from
    // the form as it stands.
    void setCode(const QString &signedText);
    // The form has changed since the code was made: the code is taken off
    // the label, a note in its place, and may no longer be used until the
    // next one is shown. The
    // code's own watch on the form calls this at the first such change.
    void markStale();

    bool usable() const { return !text.isEmpty() && !stale; }

    // The steps behind the dialogs: false after telling the user why not.
    bool exportTo(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addAction(const char *name, const char *text, const QKeySequence &shortcut,
                       void (CodeActions::*run)());
    void updateActions();
    void addStaleNote();
    void chooseExportFile();
    void choosePrinter();
    void copyToClipboard();
    void showZoomed();
    const CodeSymbol &symbol();

    Ui_Widget &form;
    const FormBinding &binding;
    QWidget *window;
    QLabel *codeLabel;
    QAction *exporting;
    QAction *printing;
    QAction *copying;
    QAction *zooming;
    QPointer<CodeZoomView> zoomView;
    CodeFreshness *freshness;
    // On the label while the code is stale.
    // Made when first shown: its style sheet is not worth a start.
    QLabel *staleNote = nullptr;

    // The code on screen and what it was made of; stale once the form moves
    // on. The symbol is encoded again only when an action needs it.
    QString text;
    CodeSymbol encoded;
    CodeSheet codeSheet;
    bool stale = false;
};

#endif
