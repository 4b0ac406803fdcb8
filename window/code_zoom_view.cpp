#include "window/code_zoom_view.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {

// Share of the screen's shorter side the view takes.
const double kScreenShare = 0.9;

} // namespace

CodeZoomView::CodeZoomView(const CodeSymbol &code, QWidget *parent) : QWidget(parent, Qt::Window), symbol(code)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("配置码"));
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    const int side = int(std::min(available.width(), available.height()) * kScreenShare);
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, QSize(side, side), available));
}

void CodeZoomView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawPixmap(0, 0, screenPixmap(symbol, size(), devicePixelRatioF(), kQuietZoneModules));
}

void CodeZoomView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void CodeZoomView::mousePressEvent(QMouseEvent *)
{
    close();
}
