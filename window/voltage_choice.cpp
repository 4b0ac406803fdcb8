#include "window/voltage_choice.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>

#include "ui_widget.h"

namespace {

const char *const kQuestions[] = {
    QT_TRANSLATE_NOOP("Widget", "是否将ZB52输出电压更改为3.3V？此操作需要确认设备之间电压兼容性"),
    QT_TRANSLATE_NOOP("Widget", "是否将ZB52输出电压更改为4.3V？此操作需要确认设备之间电压兼容性"),
};

} // namespace

void confirmVoltage(QAbstractButton *chosen, QAbstractButton *other, Voltage level)
{
    if (!chosen->isChecked())
        return;
    const QMessageBox::StandardButton answer =
        QMessageBox::warning(nullptr, QCoreApplication::translate("Widget", "warning"),
                             QCoreApplication::translate("Widget", kQuestions[int(level)]),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        other->setChecked(false);
    else if (answer == QMessageBox::No)
        chosen->setChecked(false);
}

void connectWiegandVoltages(Ui_Widget &form, QObject *context)
{
    QAbstractButton *low = form.lowvoltage_2;
    QAbstractButton *high = form.highvoltage_2;
    QObject::connect(low, &QAbstractButton::clicked, context, [=] { confirmVoltage(low, high, Voltage::Low); });
    QObject::connect(high, &QAbstractButton::clicked, context, [=] { confirmVoltage(high, low, Voltage::High); });
}
