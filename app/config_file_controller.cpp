#include "app/config_file_controller.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <functional>

#include "app/boxes.h"
#include "app/menu_button.h"
#include "app/remembered_settings.h"
#include "config/config_file.h"
#include "ui_widget.h"

namespace {

// In the strip under the code label, left of the config code's button:
// nothing of the form lies there.
const QRect kEntryButtonGeometry(100, 560, 80, 20);

const char kOpenTitle[] = QT_TRANSLATE_NOOP("ConfigFileController", "打开配置文件");
const char kSaveTitle[] = QT_TRANSLATE_NOOP("ConfigFileController", "保存配置文件");
const char kFileFilters[] = QT_TRANSLATE_NOOP("ConfigFileController", "配置文件 (*.tcfg);;所有文件 (*)");
const char kSuffix[] = "tcfg";
const char kRecentKey[] = "recentConfigFiles";
constexpr int kRecentCount = 6;

// Calls back after every key or mouse release and wheel turn of the
// application, since any of them may have changed the form.
class InputWatcher : public QObject
{
public:
    InputWatcher(QObject *parent, std::function<void()> onInput)
        : QObject(parent), callback(std::move(onInput))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonRelease || type == QEvent::KeyRelease || type == QEvent::Wheel)
            callback();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> callback;
};

void warn(QWidget *window, const char *title, const QString &text)
{
    showBox(window, QMessageBox::Warning, ConfigFileController::tr(title), text);
}

} // namespace

ConfigFileController::ConfigFileController(Ui_Widget &form, QWidget *parentWindow)
    : QObject(parentWindow), ui(form), window(parentWindow), formTitle(parentWindow->windowTitle())
{
    opening = new QAction(tr("打开配置文件…"), this);
    opening->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(opening, &QAction::triggered, this, &ConfigFileController::chooseFileToOpen);
    saving = new QAction(tr("保存配置文件…"), this);
    saving->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saving, &QAction::triggered, this, &ConfigFileController::chooseFileToSave);
    for (QAction *action : {opening, saving})
        action->setShortcutContext(Qt::WindowShortcut);
    window->addActions({opening, saving});

    QMenu *menu = addMenuButton(ui.groupBox, QStringLiteral("configFileButton"), tr("配置文件"),
                                tr("打开或保存配置文件"), kEntryButtonGeometry);
    menu->addActions({opening, saving});
    recentMenu = menu->addMenu(tr("最近使用的文件"));
    connect(recentMenu, &QMenu::aboutToShow, this, &ConfigFileController::fillRecentMenu);

    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool ConfigFileController::open(const QString &file)
{
    if (const std::optional<QString> refused = config::openConfigFile(ui, file)) {
        warn(window, kOpenTitle, *refused);
        return false;
    }
    setCurrentFile(file);
    return true;
}

bool ConfigFileController::saveAs(const QString &file)
{
    const config::FileContents contents = config::fileContents(ui);
    if (contents.refusal) {
        tell(window, *contents.refusal);
        return false;
    }
    if (const std::optional<QString> failed = config::writeConfigFile(file, contents.bytes)) {
        warn(window, kSaveTitle, *failed);
        return false;
    }
    setCurrentFile(file);
    return true;
}

bool ConfigFileController::isModified() const
{
    return !path.isEmpty() && config::fileContents(ui).bytes != savedBytes;
}

QStringList ConfigFileController::recentFiles() const
{
    return remembered::texts(kRecentKey, kRecentCount);
}

void ConfigFileController::chooseFileToOpen()
{
    const QString file = QFileDialog::getOpenFileName(window, tr(kOpenTitle),
                                                      QFileInfo(path).path(),
                                                      tr(kFileFilters));
    if (!file.isEmpty())
        open(file);
}

bool ConfigFileController::chooseFileToSave()
{
    QFileDialog dialog(window, tr(kSaveTitle), QString(), tr(kFileFilters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QLatin1String(kSuffix));
    dialog.selectFile(path.isEmpty() ? tr("配置") + QStringLiteral(".tcfg") : path);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
           && saveAs(dialog.selectedFiles().constFirst());
}

void ConfigFileController::fillRecentMenu()
{
    recentMenu->clear();
    for (const QString &file : recentFiles()) {
        QAction *entry = recentMenu->addAction(menuEntryText(QDir::toNativeSeparators(file)));
        connect(entry, &QAction::triggered, this, [this, file] { open(file); });
    }
    if (recentMenu->isEmpty())
        recentMenu->addAction(tr("（无）"))->setEnabled(false);
}

void ConfigFileController::remember(const QString &file)
{
    QStringList recent = recentFiles();
    const QString absolute = QFileInfo(file).absoluteFilePath();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    remembered::store(kRecentKey, QStringList(recent.mid(0, kRecentCount)));
}

void ConfigFileController::setCurrentFile(const QString &file)
{
    if (path.isEmpty())
        qApp->installEventFilter(new InputWatcher(this, [this] { scheduleTitleUpdate(); }));
    path = file;
    savedBytes = config::fileContents(ui).bytes;
    remember(file);
    updateTitle();
}

// While no file is open the form's title stands as it is.
void ConfigFileController::updateTitle()
{
    titleUpdatePending = false;
    if (path.isEmpty())
        return;
    window->setWindowTitle(QStringLiteral("%1[*] - %2").arg(QFileInfo(path).fileName(), formTitle));
    window->setWindowModified(isModified());
}

// Input changes the form only once it has been handled.
void ConfigFileController::scheduleTitleUpdate()
{
    if (titleUpdatePending)
        return;
    titleUpdatePending = true;
    QTimer::singleShot(0, this, &ConfigFileController::updateTitle);
}

bool ConfigFileController::mayClose()
{
    if (!isModified())
        return true;
    const QMessageBox::StandardButton answer = showBox(
        window, QMessageBox::Question, tr("关闭"),
        tr("配置文件 %1 有未保存的修改。要保存吗？").arg(QFileInfo(path).fileName()), QString(),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveAs(path);
    return answer == QMessageBox::Discard;
}

QString ConfigFileController::droppedFile(const QMimeData *data)
{
    if (!data->hasUrls() || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile())
        return QString();
    const QString file = data->urls().constFirst().toLocalFile();
    return file.endsWith(QLatin1String(".tcfg"), Qt::CaseInsensitive) ? file : QString();
}

bool ConfigFileController::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Close:
        if (!mayClose()) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (!droppedFile(static_cast<QDropEvent *>(event)->mimeData()).isEmpty()) {
            static_cast<QDropEvent *>(event)->acceptProposedAction();
            return true;
        }
        break;
    case QEvent::Drop: {
        const QString file = droppedFile(static_cast<QDropEvent *>(event)->mimeData());
        if (file.isEmpty())
            break;
        static_cast<QDropEvent *>(event)->acceptProposedAction();
        open(file);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
