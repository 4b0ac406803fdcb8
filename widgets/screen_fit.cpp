#include "widgets/screen_fit.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {

// What the window manager adds around the window. Before the first show Qt
// does not know it; the title bar's height stands in for it then.
QSize frameExtent(const QWidget *window)
{
    const QSize known = window->frameGeometry().size() - window->size();
    if (window->isVisible() || !known.isEmpty())
        return known;
    return QSize(0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
}

} // namespace

void fitOnScreen(QWidget *window)
{
    const QWidget *parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const QScreen *screen = parent ? parent->screen() : window->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize frame = frameExtent(window);
    // A window that no one sized takes the size its layout asks for; a form
    // of fixed size cannot shrink and is only placed.
    QSize size = window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    if (window->minimumSize() != window->maximumSize()) {
        size = size.expandedTo(window->minimumSizeHint()).boundedTo(available.size() - frame);
        window->resize(size);
    }
    const QRect over = parent ? parent->frameGeometry() : available;
    QRect placed(QPoint(), size + frame);
    placed.moveCenter(over.center());
    placed.moveLeft(std::max(available.left(), std::min(placed.left(), available.right() + 1 - placed.width())));
    placed.moveTop(std::max(available.top(), std::min(placed.top(), available.bottom() + 1 - placed.height())));
    window->move(placed.topLeft());
}
