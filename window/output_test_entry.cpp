#include "window/output_test_entry.h"

#include <QAction>
#include <QMenu>

#include "core/form_source.h"
#include "program/program_parts.h"
#include "widgets/boxes.h"
#include "widgets/menu_button.h"
#include "widgets/output_test_part.h"

OutputTestEntry::OutputTestEntry(const FormSource &formSource, QWidget *parentWindow, QMenu *menu)
    : QObject(parentWindow), form(formSource), window(parentWindow)
{
    menu->addSeparator();
    QAction *opening = addWindowEntry(window, menu, this, tr("输出测试…"), QKeySequence(Qt::CTRL | Qt::Key_T),
                                      tr("看读头按这份配置输出什么"));
    connect(opening, &QAction::triggered, this, &OutputTestEntry::open);
    connect(&form, &FormSource::changed, this, [this] {
        if (shown)
            part->formChanged(shown);
    });
}

void OutputTestEntry::open()
{
    if (!shown) {
        QString why;
        part = qobject_cast<OutputTestPart *>(
            programPart(QStringLiteral("tarvo-config-outputtest"), TARVO_OUTPUT_TEST_PART_IID, &why));
        if (!part) {
            showBox(window, QMessageBox::Warning, tr("输出测试"),
                    tr("无法打开输出测试：程序的这一部分没有装好。"), why);
            return;
        }
        const FormSource *source = &form;
        shown = part->makeWindow([source] { return source->value(); }, window);
    }
    bringUp(shown);
}
