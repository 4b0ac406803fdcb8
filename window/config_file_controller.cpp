#include "window/config_file_controller.h"

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
#include <QToolButton>
#include <QUrl>

#include "config/config_file.h"
#include "core/dialog_folder.h"
#include "core/remembered_settings.h"
#include "ui_widget.h"
#include "widgets/boxes.h"
#include "widgets/menu_button.h"
#include "window/field_marks.h"
#include "window/form_binding.h"

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


void warn(QWidget *window, const char *title, const QString &text)
{
    showBox(window, QMessageBox::Warning, ConfigFileController::tr(title), text);
}

} // namespace

ConfigFileController::ConfigFileController(Ui_Widget &form, const FormBinding &formBinding, QWidget *parentWindow)
    : QObject(parentWindow),
      ui(form),
      binding(formBinding),
      window(parentWindow),
      formTitle(parentWindow->windowTitle())
{
    auto *opening = new QAction(tr("打开配置文件…"), this);
    opening->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(opening, &QAction::triggered, this, &ConfigFileController::chooseFileToOpen);
    auto *saving = new QAction(tr("保存配置文件"), this);
    saving->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saving, &QAction::triggered, this, &ConfigFileController::save);
    auto *savingAs = new QAction(tr("配置文件另存为…"), this);
    savingAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(savingAs, &QAction::triggered, this, &ConfigFileController::chooseFileToSave);
    for (QAction *action : {opening, saving, savingAs})
        action->setShortcutContext(Qt::WindowShortcut);
    window->addActions({opening, saving, savingAs});

    QMenu *menu = addMenuButton(ui.groupBox, QStringLiteral("configFileButton"), tr("配置文件"),
                                tr("打开或保存配置文件"), kEntryButtonGeometry);
    menu->addActions({opening, saving, savingAs});
    recentMenu = menu->addMenu(tr("最近使用的文件"));
    entryMenu = menu;
    connect(recentMenu, &QMenu::aboutToShow, this, &ConfigFileController::fillRecentMenu);

    window->setAcceptDrops(true);
    window->installEventFilter(this);
    connect(&binding, &FormBinding::changed, this, &ConfigFileController::updateTitle);
}

bool ConfigFileController::open(const QString &file)
{
    if (!load(config::openConfigFile(binding.value(), file)))
        return false;
    setCurrentFile(file);
    return true;
}

bool ConfigFileController::openConfiguration(const QByteArray &bytes, const QString &name)
{
    return load(config::openConfigBytes(binding.value(), bytes, name));
}

bool ConfigFileController::load(const config::ImportResult &opened)
{
    if (opened.refusal) {
        warn(window, kOpenTitle, *opened.refusal);
        return false;
    }
    binding::applySteps(opened.imported.steps, ui);
    emit this->opened();
    return true;
}

bool ConfigFileController::saveAs(const QString &file)
{
    const config::FileContents contents = config::fileContents(binding.value());
    if (contents.refusal) {
        showRefusal(window, ui, *contents.refusal);
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
    return !path.isEmpty() && config::fileContents(binding.value()).bytes != savedBytes;
}

QStringList ConfigFileController::recentFiles() const
{
    return remembered::texts(kRecentKey, kRecentCount);
}

void ConfigFileController::chooseFileToOpen()
{
    const QString file =
        QFileDialog::getOpenFileName(window, tr(kOpenTitle), dialogFolder(path), tr(kFileFilters));
    if (!file.isEmpty())
        open(file);
}

// The open file is saved where it is; without one, a dialog asks where.
bool ConfigFileController::save()
{
    return path.isEmpty() ? chooseFileToSave() : saveAs(path);
}

bool ConfigFileController::chooseFileToSave()
{
    QFileDialog dialog(window, tr(kSaveTitle), dialogFolder(path), tr(kFileFilters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QLatin1String(kSuffix));
    dialog.selectFile(path.isEmpty() ? QDir(dialogFolder()).filePath(tr("配置") + QStringLiteral(".tcfg"))
                                     : path);
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
    path = file;
    savedBytes = config::fileContents(binding.value()).bytes;
    remember(file);
    rememberDialogFolder(file);
    updateTitle();
}

// While no file is open the form's title stands as it is.
void ConfigFileController::updateTitle()
{
    if (path.isEmpty())
        return;
    window->setWindowTitle(QStringLiteral("%1[*] - %2").arg(QFileInfo(path).fileName(), formTitle));
    window->setWindowModified(isModified());
}

bool ConfigFileController::mayClose()
{
    if (!isModified())
        return true;
    const QMessageBox::StandardButton answer =
        showBox(window, QMessageBox::Question, tr("关闭"),
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
