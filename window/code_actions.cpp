#include "window/code_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QToolButton>

#include "config/password_entry.h"
#include "core/dialog_folder.h"
#include "documents/code_sheet.h"
#include "program/program_parts.h"
#include "ui_widget.h"
#include "widgets/boxes.h"
#include "widgets/menu_button.h"
#include "widgets/print_part.h"
#include "window/code_freshness.h"
#include "window/code_zoom_view.h"
#include "window/form_binding.h"

namespace {

// In the strip of the group box under the code label, flush with its right
// edge: nothing of the form lies there.
const QRect kEntryButtonGeometry(188, 560, 80, 20);

// The note dark red where the code was.
const char kStaleNoteStyle[] = "background-color: rgba(255, 255, 255, 215); color: #a00000;";

const char kFileFilters[] =
    QT_TRANSLATE_NOOP("CodeActions", "PNG 图片 (*.png);;SVG 矢量图 (*.svg);;PDF 文档 (*.pdf)");

} // namespace

CodeActions::CodeActions(Ui_Widget &ui, const FormBinding &formBinding, QWidget *parentWindow)
    : QObject(parentWindow),
      form(ui),
      binding(formBinding),
      window(parentWindow),
      freshness(new CodeFreshness(formBinding, this))
{
    setObjectName(QStringLiteral("codeActions"));
    exporting = addAction("exportCode", QT_TR_NOOP("导出配置码…"), QKeySequence(Qt::CTRL | Qt::Key_E),
                          &CodeActions::chooseExportFile);
    printing = addAction("printCode", QT_TR_NOOP("打印配置码…"), QKeySequence(Qt::CTRL | Qt::Key_P),
                         &CodeActions::choosePrinter);
    copying = addAction("copyCode", QT_TR_NOOP("复制配置码"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                        &CodeActions::copyToClipboard);
    zooming = addAction("zoomCode", QT_TR_NOOP("放大显示"), QKeySequence(QKeySequence::ZoomIn),
                        &CodeActions::showZoomed);
    const QList<QAction *> actions{exporting, printing, copying, zooming};

    addMenuButton(form.groupBox, QStringLiteral("codeActionsButton"), tr("配置码"),
                  tr("导出、打印、复制或放大显示配置码"), kEntryButtonGeometry)
        ->addActions(actions);

    form.label->setContextMenuPolicy(Qt::ActionsContextMenu);
    form.label->addActions(actions);
    codeLabel = form.label;
    codeLabel->installEventFilter(this);
    window->addActions(actions);
    connect(freshness, &CodeFreshness::stale, this, &CodeActions::markStale);
    updateActions();
}

void CodeActions::addStaleNote()
{
    staleNote = new QLabel(tr("配置已更改，请重新生成配置码"), codeLabel);
    staleNote->setAlignment(Qt::AlignCenter);
    staleNote->setWordWrap(true);
    staleNote->setStyleSheet(QString::fromLatin1(kStaleNoteStyle));
    // The label's double-click and context menu stay the label's.
    staleNote->setAttribute(Qt::WA_TransparentForMouseEvents);
    staleNote->setGeometry(codeLabel->rect());
}

QAction *CodeActions::addAction(const char *name, const char *label, const QKeySequence &shortcut,
                                void (CodeActions::*run)())
{
    auto *action = new QAction(tr(label), this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, run);
    return action;
}

void CodeActions::setCode(const QString &signedText)
{
    text = signedText;
    encoded = CodeSymbol();
    codeSheet = codeSheetFor(binding.value(), signedText);
    stale = false;
    freshness->watch(signedText);
    if (zoomView)
        zoomView->close();
    updateActions();
}

// The code itself goes, not just greyed: a camera's threshold reads a
// greyed code as well as a sharp one.
void CodeActions::markStale()
{
    stale = true;
    codeLabel->setPixmap(QPixmap());
    freshness->watch(QString());
    if (zoomView)
        zoomView->close();
    updateActions();
}

const CodeSymbol &CodeActions::symbol()
{
    if (encoded.isNull())
        encoded = CodeSymbol(text);
    return encoded;
}

void CodeActions::updateActions()
{
    for (QAction *action : {exporting, printing, copying, zooming})
        action->setEnabled(usable());
    const bool noteShown = stale && !text.isEmpty();
    if (noteShown && !staleNote)
        addStaleNote();
    if (staleNote)
        staleNote->setVisible(noteShown);
}

bool CodeActions::eventFilter(QObject *watched, QEvent *event)
{
    // The label outlives the form record while the window is torn down, so
    // it is known by the pointer kept here.
    if (watched == codeLabel && event->type() == QEvent::Resize && staleNote)
        staleNote->setGeometry(codeLabel->rect());
    if (watched == codeLabel && event->type() == QEvent::MouseButtonDblClick && usable()) {
        showZoomed();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CodeActions::chooseExportFile()
{
    QFileDialog dialog(window, tr("导出配置码"), dialogFolder(), tr(kFileFilters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(QDir(dialogFolder()).filePath(tr("配置码") + QStringLiteral(".png")));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!exportTo(path))
        return;
    rememberDialogFolder(path);
    // Where it went, the path shown as it is.
    QMessageBox done(QMessageBox::Information, tr("导出配置码"),
                     tr("配置码已导出到 %1").arg(QDir::toNativeSeparators(path)), QMessageBox::Ok, window);
    done.setTextFormat(Qt::PlainText);
    done.exec();
}

bool CodeActions::exportTo(const QString &path)
{
    QString error;
    if (writeSheet(symbol(), codeSheet, path, &error))
        return true;
    showBox(window, QMessageBox::Warning, tr("导出配置码"), tr("配置码未能导出到 %1").arg(path),
            translated("qr", error));
    return false;
}

// Printing is a part loaded at the first print; a part that cannot be
// loaded fails the print as a printer would, with the loader's reason.
void CodeActions::choosePrinter()
{
    QString why;
    auto *part =
        qobject_cast<PrintPart *>(programPart(QStringLiteral("tarvo-config-print"), TARVO_PRINT_PART_IID, &why));
    const auto paint = [this](QPagedPaintDevice &printer, int resolution, QString *error) {
        return printSheet(symbol(), codeSheet, printer, resolution, error);
    };
    QString error;
    if (part && part->print(tr("配置码"), paint, window, &error))
        return;
    showBox(window, QMessageBox::Warning, tr("打印配置码"), tr("配置码未能打印"),
            part ? translated("qr", error) : why);
}

// The picture always; the text, which a new password rides in, only when
// the user says so.
void CodeActions::copyToClipboard()
{
    auto *data = new QMimeData;
    data->setImageData(codeImage(symbol()));
    if (!password_entry::carriesPassword(text)
        || QMessageBox::question(window, tr("复制配置码"),
                                 tr("配置码包含新的配置密码。也把配置文本（含新密码）"
                                    "复制到剪贴板吗？"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes)
        data->setText(text);
    QApplication::clipboard()->setMimeData(data);
}

void CodeActions::showZoomed()
{
    if (zoomView)
        zoomView->close();
    zoomView = new CodeZoomView(symbol(), window);
    zoomView->show();
    zoomView->activateWindow();
}
