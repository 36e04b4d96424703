#include "vaskel_warnings.h"

#include <QObject>
#include <QRegularExpression>

#include "vaskel_converter_options.h"

namespace {

// What the converter puts before every warning it prints.
constexpr QLatin1String kWarningMarker("Warning: ");

}  // namespace

bool isConverterWarning(QStringView line) { return line.startsWith(kWarningMarker); }

QString warningForTheWizard(const QString& warning) {
  static const QRegularExpression advice(
      QStringLiteral(R"( \(give it with %1 [^=\s]+=\.\.\.\)$)")
          .arg(QRegularExpression::escape(optionName(ConverterOption::Variable))));
  QString line = warning;
  return line.replace(
      advice, QObject::tr(" (type its value into the Variables table on the previous page)"));
}
