// The converter's warnings as the wizard reads them: the one place that knows
// how a warning line starts and what its advice says.
#pragma once

#include <QString>
#include <QStringView>

// Whether a line of the converter's output is a warning: it starts with
// "Warning: ", exactly so (not indented, not in lower case).
bool isConverterWarning(QStringView line);

// The warning as the log shows it: the converter's advice for a variable
// without a value names its command-line option, which a wizard user cannot
// type; the log says where the wizard takes the value instead.
QString warningForTheWizard(const QString& warning);
