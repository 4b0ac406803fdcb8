#ifndef TARVO_TESTS_WIDGET_PROBE_H
#define TARVO_TESTS_WIDGET_PROBE_H

#include <QByteArray>
#include <QWidget>
#include <QtGlobal>

#include <optional>
#include <utility>

#include "config/form_value.h"
#include "support/widget_child.h"
#include "ui_widget.h"
#include "window/form_binding.h"
#include "window/widget.h"

// Lets a test read the window's private members that nothing else shows,
// and invoke its private slots by name through the window's meta-object.
// The window declares this class its friend for the members alone.
class WidgetProbe
{
public:
    explicit WidgetProbe(Widget &window) : w(window) {}
    ~WidgetProbe()
    {
        if (replacedConfig)
            w.readerText = *replacedConfig;
    }
    WidgetProbe(const WidgetProbe &) = delete;
    WidgetProbe &operator=(const WidgetProbe &) = delete;

    // Stands in for a connect's reply: the window reads `text` (with its
    // NUL) as the reader's configuration while this probe lives, and gets
    // its own buffer back afterwards.
    void setDevConfig(const QByteArray &text)
    {
        if (!replacedConfig)
            replacedConfig = w.readerText;
        w.readerText = QByteArray(text.constData());
    }

    QString &configText() { return w.configText; }
    lua_State *luaState() const { return w.lua_state; }
    // The reader's configuration text of the last connect.
    const QByteArray &readerText() const { return w.readerText; }

    // The form record, for the functions of the subsystems that take it.
    Ui_Widget &form() { return *w.ui; }
    // The configuration the form shows now.
    config::FormValue formValue() const { return binding::read(*w.ui); }
    void getconfigState() { invoke("GetconfigState"); }
    // The signed text the form gives now; like every consumer, it leaves
    // configText empty afterwards.
    QString buildConfigText()
    {
        getconfigState();
        return std::exchange(w.configText, QString());
    }
    void getinitkeyvalue() { invoke("Getinitkeyvalue"); }
    int getHmac(const QString &text, char *digest)
    {
        int result = 0;
        if (!QMetaObject::invokeMethod(&w, "get_hmac", Qt::DirectConnection, Q_RETURN_ARG(int, result),
                                       Q_ARG(QString, text), Q_ARG(char *, digest)))
            qFatal("the window has no slot get_hmac");
        return result;
    }
    void generateQRcode(const QString &text) { w.GenerateQRcode(text); }

private:
    void invoke(const char *slot)
    {
        if (!QMetaObject::invokeMethod(&w, slot, Qt::DirectConnection))
            qFatal("the window has no slot %s", slot);
    }

    Widget &w;
    std::optional<QByteArray> replacedConfig;
};

#endif
