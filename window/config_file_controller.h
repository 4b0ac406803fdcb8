#ifndef TARVO_WINDOW_CONFIG_FILE_CONTROLLER_H
#define TARVO_WINDOW_CONFIG_FILE_CONTROLLER_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QMimeData;
class QWidget;
class FormBinding;
class Ui_Widget;

namespace config {
struct ImportResult;
}

// The window's configuration files: open and save (by menu, shortcut,
// the recently used list or a dropped file), the window title that names
// the open file and marks unsaved changes, and the question before closing
// over them. While no file is open the window is as it always was.
class ConfigFileController : public QObject
{
    Q_OBJECT

public:
    // Adds the entry button under the code label, the window's shortcuts,
    // and watches the window for drops and closing.
    ConfigFileController(Ui_Widget &form, const FormBinding &binding, QWidget *window);

    // The steps behind the dialogs: false after telling the user why not.
    bool open(const QString &path);
    bool saveAs(const QString &path);
    // Opens a configuration kept elsewhere (a record of a save) as a file
    // opens, named so in a refusal; the open file, if any, stays open.
    bool openConfiguration(const QByteArray &bytes, const QString &name);

    // The open file, empty while there is none.
    const QString &currentFile() const { return path; }
    // Whether the form would now save other bytes than the open file holds.
    bool isModified() const;

    QStringList recentFiles() const;
    // The menu of the entry button, which other entries may join.
    QMenu *menu() const { return entryMenu; }

signals:
    // A file's configuration has replaced the form.
    void opened();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool load(const config::ImportResult &opened);
    void chooseFileToOpen();
    bool save();
    bool chooseFileToSave();
    void fillRecentMenu();
    void remember(const QString &file);
    void setCurrentFile(const QString &file);
    void updateTitle();
    bool mayClose();
    static QString droppedFile(const QMimeData *data);

    Ui_Widget &ui;
    const FormBinding &binding;
    QWidget *window;
    QString formTitle;
    QString path;
    // What the open file holds, in the form's own build of it.
    QByteArray savedBytes;
    QMenu *entryMenu;
    QMenu *recentMenu;
};

#endif
