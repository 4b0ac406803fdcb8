#include "window/form_fonts.h"

#include <QApplication>
#include <QFont>
#include <QVector>
#include <QWidget>

#include "ui_widget.h"
#include "window/widget_tree.h"

namespace {

// The faces the form asks for, as Windows names them.
const char *const kFormFamilies[] = {"微软雅黑", "Microsoft YaHei", "Segoe UI", "SimSun", "宋体"};

// Installed in their stead, best first: a sans-serif CJK face whose Latin
// letters are as narrow as the Windows ones (Debian's fonts-wqy-microhei).
const char *const kInstalledFamilies[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC"};

// The form's rectangles are pixels drawn at 96 dpi, so its fonts are held
// in pixels too: a point is 96/72 px whatever the screen's logical dpi (a
// larger dpi scales the whole window instead). 12 px is the 9 pt that
// Windows gives a widget whose font names no size.
constexpr int kFormPixelSize = 12;
constexpr double kFormPixelsPerPoint = 96.0 / 72.0;

void substituteFormFamilies()
{
    QStringList installed;
    for (const char *family : kInstalledFamilies)
        installed << QString::fromUtf8(family);
    for (const char *family : kFormFamilies)
        QFont::insertSubstitutions(QString::fromUtf8(family), installed);
}

struct SmallerCaption
{
    QWidget *widget;
    int pixelSize;
};

// Captions wider than their fixed rectangle at the form's size, in either
// language, and the size at which they fit.
QVector<SmallerCaption> smallerCaptions(Ui_Widget &ui)
{
    return {
        {ui.label_16, 10}, // "成功行为：" in 54 px
        {ui.label_17, 10}, // "失败行为：" in 54 px
        {ui.label_35, 10}, // "前后缀格式：" in 61 px
    };
}

// The beep delay's row reaches 2 px into the LED delay's, and its unit
// "毫秒" ends at its right edge: the LED delay's caption steps in so that
// the two do not read as one.
void separateDelayRows(Ui_Widget &ui)
{
    ui.label_14->setIndent(6);
}

void setPixelSize(QWidget &widget, int pixels)
{
    QFont font = widget.font();
    font.setPixelSize(pixels);
    widget.setFont(font);
}

} // namespace

void applyBaseFont()
{
    substituteFormFamilies();
    QFont base = QApplication::font();
    base.setFamily(QString::fromUtf8(kFormFamilies[0]));
    base.setPixelSize(kFormPixelSize);
    if (base != QApplication::font())
        QApplication::setFont(base);
}

void applyFormFonts(QWidget &window, Ui_Widget &ui)
{
    for (QWidget *widget : widgetsBelow(window))
        if (widget->testAttribute(Qt::WA_SetFont) && widget->font().pointSizeF() > 0)
            setPixelSize(*widget, qRound(widget->font().pointSizeF() * kFormPixelsPerPoint));
    for (const SmallerCaption &caption : smallerCaptions(ui))
        setPixelSize(*caption.widget, caption.pixelSize);
    separateDelayRows(ui);
}
