#ifndef TARVO_OUTPUTTEST_OUTPUT_TEST_FORM_H
#define TARVO_OUTPUTTEST_OUTPUT_TEST_FORM_H

#include "receivers/output_test_settings.h"

#include "config/form_value.h"

// What the output test needs of the configuration the form holds now.
output_test::Settings outputTestSettings(const config::FormValue &form);

#endif
