#include "window/device_session.h"

#include <QCloseEvent>
#include <QLabel>
#include <QToolButton>

#include <utility>

#include "core/remembered_settings.h"
#include "device/device_link.h"
#include "trvo/link.h"
#include "ui_widget.h"
#include "widgets/device_chooser.h"
#include "widgets/screen_fit.h"
#include "widgets/untrusted_text.h"

const char DeviceSession::settingsKey[] = "device/link";

namespace {

const int kEntryGap = 6; // from 连接设备 to the entry

QString environmentLink()
{
    return QString::fromLocal8Bit(qgetenv("TRVO_DEVICE"));
}

QString rememberedLink()
{
    return remembered::text(DeviceSession::settingsKey);
}

} // namespace

DeviceSession::DeviceSession(Ui_Widget &form, QWidget *window)
    : QObject(window),
      status_(form.labelState),
      window_(window),
      entry_(new QToolButton(form.connectBtn->parentWidget()))
{
    setObjectName(QStringLiteral("deviceSession"));
    entry_->setObjectName(QStringLiteral("readerChooser"));
    // In the free space between 连接设备 and 保存配置, as high as they are.
    const QRect beside = form.connectBtn->geometry();
    const int room = form.saveBtn->geometry().left() - beside.right() - 2 * kEntryGap;
    entry_->setGeometry(beside.right() + 1 + kEntryGap, beside.top(), qMin(room, beside.height()),
                        beside.height());
    entry_->setText(QStringLiteral("…"));
    entry_->setToolTip(tr("选择设备…"));
    entry_->setAccessibleName(entry_->toolTip());
    connect(entry_, &QToolButton::clicked, this, &DeviceSession::choose);
    window->installEventFilter(this);
    showLink();
}

QString DeviceSession::link() const
{
    const QString environment = environmentLink();
    return environment.isEmpty() ? rememberedLink() : environment;
}

QString DeviceSession::linkNote() const
{
    const QString chosen = link();
    if (chosen.isEmpty())
        return QString();
    const bool fromEnvironment = !environmentLink().isEmpty();
    return tr("读卡器：%1%2").arg(chosen, fromEnvironment ? tr("（由 TRVO_DEVICE 指定）") : QString());
}

QString DeviceSession::reachedLink() const
{
    const QString chosen = link();
    return chosen.isEmpty() ? QStringLiteral(LINK_DEFAULT_SETTING) : chosen;
}

void DeviceSession::showLink()
{
    status_->setToolTip(autoTextShown(linkNote()));
}

// Another reader: the old channel closes, and the next connect opens the new one.
void DeviceSession::choose()
{
    DeviceChooser chooser(environmentLink(), window_);
    chooser.setLink(rememberedLink());
    fitOnScreen(&chooser);
    if (chooser.exec() != QDialog::Accepted || chooser.link() == rememberedLink())
        return;
    remembered::store(settingsKey, chooser.link());
    showLink();
    if (!environmentLink().isEmpty())
        return;
    reader_.close();
    if (connected_)
        status_->setText(tr("未连接"));
    connected_ = false;
    emit readerChanged();
}

bool DeviceSession::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_ && event->type() == QEvent::Close && busy_) {
        closeRequested_ = true;
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

DeviceSession::Call::Call(DeviceSession &session, const QString &status)
    : session_(session), before_(session.status_->text())
{
    session_.busy_ = true;
    session_.status_->setText(status);
    // Painted now: the call blocks the event loop until it returns.
    session_.status_->repaint();
}

void DeviceSession::Call::settle(const QString &status)
{
    settled_ = true;
    session_.status_->setText(status);
}

DeviceSession::Call::~Call()
{
    if (!settled_)
        session_.status_->setText(before_);
    session_.busy_ = false;
    if (std::exchange(session_.closeRequested_, false))
        session_.window_->close();
}
