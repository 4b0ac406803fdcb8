// Every caption of the form is shown whole: the text's advance at the
// widget's own font fits the widget's rectangle and keeps clear of the
// captions beside it, for every label, check box, radio button, push button
// and group-box title, with every hidden part of the form shown. CTest runs
// this in each language (TARVO_TEST_LANG) and at scale factors 1 and 2
// (QT_SCALE_FACTOR).
#include <QCheckBox>
#include <QCommandLinkButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QtTest>

#include "program/language.h"
#include "support/widget_probe.h"
#include "window/widget.h"

namespace {

// The least gap between two captions of one row that a reader sees as a gap.
constexpr int kCaptionGap = 3;

int advance(const QFont &font, const QString &text)
{
    QString shown = text;
    shown.remove(QLatin1Char('&'));
    return QFontMetrics(font).horizontalAdvance(shown);
}

// Where a check box or radio button starts its caption: after the
// indicator and the spacing the style puts before the text.
int checkableTextStart(QAbstractButton *button, bool radio)
{
    QStyleOptionButton option;
    option.initFrom(button);
    QStyle *style = button->style();
    return style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, &option,
                              button)
           + style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing,
                                &option, button);
}

// A caption as drawn: its text and font, and the stretch of the widget
// (from `left` to `right`, in the widget's coordinates) that it may use.
struct Caption
{
    QString text;
    QFont font;
    int left;
    int right;
    bool title; // a group box's title, which sits on the frame above its row
};

std::optional<Caption> captionOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->wordWrap() || label->text().isEmpty())
            return std::nullopt;
        const QRect contents = label->contentsRect();
        const int inset = label->margin() + qMax(label->indent(), 0);
        return Caption{label->text(), label->font(), contents.left() + inset,
                       contents.right() + 1 - label->margin(), false};
    }
    if (auto *check = qobject_cast<QCheckBox *>(widget))
        return Caption{check->text(), check->font(), checkableTextStart(check, false), check->width(), false};
    if (auto *radio = qobject_cast<QRadioButton *>(widget))
        return Caption{radio->text(), radio->font(), checkableTextStart(radio, true), radio->width(), false};
    if (auto *link = qobject_cast<QCommandLinkButton *>(widget)) {
        // A command link draws its title in bold beside its icon, between
        // fixed margins (7 + 6 px around the icon on the left, 4 px on the right).
        QFont title = link->font();
        title.setBold(true);
        const int left = link->icon().actualSize(link->iconSize()).width() + 7 + 6;
        return Caption{link->text(), title, left, link->width() - 4, false};
    }
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return Caption{button->text(), button->font(), contents.left(), contents.right() + 1, false};
    }
    if (auto *box = qobject_cast<QGroupBox *>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect label =
            box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        // The title runs from where the style starts it to the frame's far side.
        return Caption{box->title(), box->font(), label.left(), box->width() - 1, true};
    }
    return std::nullopt;
}

// A caption on screen: its widget, and the span its text covers in the
// window's coordinates.
struct ShownCaption
{
    QWidget *widget;
    QString text;
    QRect span;
};

QString describe(const ShownCaption &caption)
{
    return QStringLiteral("%1 \"%2\"").arg(caption.widget->objectName(), caption.text);
}

// Adds to `faults` each caption of the visible part of the window that is
// cut by its widget's edge or runs into another caption of its row.
void checkShownCaptions(QWidget &window, QMap<QString, QString> &faults)
{
    QVector<ShownCaption> row;
    for (QWidget *child : window.findChildren<QWidget *>()) {
        const auto caption = child->isVisible() ? captionOf(child) : std::nullopt;
        if (!caption)
            continue;
        const int needed = advance(caption->font, caption->text);
        // Captions sit centred on their widget's height, about a pixel size tall.
        const int band = QFontInfo(caption->font).pixelSize();
        const QPoint start(caption->left, (child->height() - band) / 2);
        const ShownCaption shown{child, caption->text, QRect(child->mapTo(&window, start), QSize(needed, band))};
        if (needed > caption->right - caption->left)
            faults[describe(shown)] = QStringLiteral("needs %1 px, has %2 (%3)")
                                          .arg(needed)
                                          .arg(caption->right - caption->left)
                                          .arg(QFontInfo(caption->font).family());
        if (!caption->title)
            row << shown;
    }
    for (const ShownCaption &a : row)
        for (const ShownCaption &b : row)
            if (a.widget != b.widget && a.span.left() <= b.span.left() && a.span.top() <= b.span.bottom()
                && b.span.top() <= a.span.bottom() && a.span.right() + kCaptionGap >= b.span.left())
                faults[describe(a)] = QStringLiteral("runs into ") + describe(b);
}

} // namespace

class CaptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyCaptionFits();
};

void CaptionsTest::initTestCase()
{
    bool known = false;
    const Language language = chooseLanguage({}, qEnvironmentVariable("TARVO_TEST_LANG"), &known);
    QVERIFY2(known, "TARVO_TEST_LANG names zh or en");
    QVERIFY(installLanguage(language));
}

void CaptionsTest::everyCaptionFits()
{
    Widget window;
    window.show();
    // Every part that a choice can show is shown, so that each caption sits
    // where its layout puts it.
    for (QWidget *child : window.findChildren<QWidget *>())
        if (child->isHidden() && !qobject_cast<QStackedWidget *>(child->parentWidget()))
            child->show();
    auto *pages = formChild<QStackedWidget>(window, "stacked_widget");
    QMap<QString, QString> faults;
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        checkShownCaptions(window, faults);
    }
    for (auto fault = faults.cbegin(); fault != faults.cend(); ++fault)
        qWarning("%s %s", qPrintable(fault.key()), qPrintable(fault.value()));
    QVERIFY2(faults.isEmpty(), "captions are cut or run together (listed above)");
}

QTEST_MAIN(CaptionsTest)
#include "test_captions.moc"
