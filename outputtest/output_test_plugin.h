#ifndef TARVO_OUTPUTTEST_OUTPUT_TEST_PLUGIN_H
#define TARVO_OUTPUTTEST_OUTPUT_TEST_PLUGIN_H

#include <QObject>

#include "widgets/output_test_part.h"

// The output test as the window loads it (tarvo-config-outputtest.so), or
// as a program that links it in imports it (Q_IMPORT_PLUGIN).
class OutputTestPlugin : public QObject, public OutputTestPart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TARVO_OUTPUT_TEST_PART_IID)
    Q_INTERFACES(OutputTestPart)

public:
    QWidget *makeWindow(std::function<config::FormValue()> value, QWidget *window) override;
    void formChanged(QWidget *test) override;
};

#endif
