#ifndef TARVO_WIDGETS_OUTPUT_TEST_PART_H
#define TARVO_WIDGETS_OUTPUT_TEST_PART_H

// The output test is a part of its own (outputtest/), loaded when the test
// is first opened: its HTTP server, the TLS libraries under it and Qt
// Network are mapped only then, not at the window's start. The part carries
// its own copies of the rooms below it, so the window hands it the form's
// value by callback rather than a QObject whose signals the part's copy
// would not know.

#include <QtPlugin>

#include <functional>

#include "config/form_value.h"

class QWidget;

class OutputTestPart
{
public:
    virtual ~OutputTestPart() = default;

    // A new output test, a window of its own over window; value reads the
    // form's configuration now.
    virtual QWidget *makeWindow(std::function<config::FormValue()> value, QWidget *window) = 0;
    // The form changed: the test made by makeWindow reads it again.
    virtual void formChanged(QWidget *test) = 0;
};

#define TARVO_OUTPUT_TEST_PART_IID "org.tarvo.config.OutputTestPart/1"
Q_DECLARE_INTERFACE(OutputTestPart, TARVO_OUTPUT_TEST_PART_IID)

#endif
