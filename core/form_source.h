#ifndef TARVO_CORE_FORM_SOURCE_H
#define TARVO_CORE_FORM_SOURCE_H

#include <QObject>

#include "config/form_value.h"

// What a tool window sees of the form it works from: the configuration
// value the form holds now, and word each time it changes. The tool windows
// never see the form's widgets.
class FormSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual const config::FormValue &value() const = 0;

signals:
    void changed();
};

#endif
