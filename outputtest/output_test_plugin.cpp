#include "outputtest/output_test_plugin.h"

#include "core/form_source.h"
#include "outputtest/output_test_window.h"

namespace {

// The form as the test sees it: a copy of its value, read again at each
// change the window passes on.
class CopiedForm : public FormSource
{
public:
    explicit CopiedForm(std::function<config::FormValue()> read) : read(std::move(read)), now(this->read()) {}

    const config::FormValue &value() const override { return now; }

    void readAgain()
    {
        now = read();
        emit changed();
    }

private:
    std::function<config::FormValue()> read;
    config::FormValue now;
};

} // namespace

QWidget *OutputTestPlugin::makeWindow(std::function<config::FormValue()> value, QWidget *window)
{
    auto *form = new CopiedForm(std::move(value));
    auto *test = new OutputTestWindow(*form, window);
    // Gone with the test, after it.
    form->setParent(test);
    return test;
}

void OutputTestPlugin::formChanged(QWidget *test)
{
    // The test's only form is the one makeWindow gave it.
    if (auto *form = test->findChild<FormSource *>(QString(), Qt::FindDirectChildrenOnly))
        static_cast<CopiedForm *>(form)->readAgain();
}
