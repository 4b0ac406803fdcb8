#include "window/code_freshness.h"

#include "config/assembly.h"
#include "window/form_binding.h"

CodeFreshness::CodeFreshness(const FormBinding &binding, QObject *parent) : QObject(parent), form(binding)
{
    connect(&form, &FormBinding::changed, this, &CodeFreshness::check);
}

void CodeFreshness::watch(const QString &signedText)
{
    watched = signedText;
}

void CodeFreshness::check()
{
    const config::FormValue &value = form.value();
    if (watched.isEmpty() || config::sign(config::unsignedText(value), value.manpw).text == watched)
        return;
    watched.clear();
    emit stale();
}
