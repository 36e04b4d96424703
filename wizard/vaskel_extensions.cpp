#include "vaskel_extensions.h"

#include <QCheckBox>
#include <QLineEdit>

#include "vaskel_converter_options.h"
#include "vaskel_status.h"

ExtensionChoice::ExtensionChoice(const Widgets& widgets, QObject* parent)
    : WizardPart(parent), w(widgets) {
  connect(w.custom, &QLineEdit::textChanged, this, &WizardPart::changed);
  for (const Box& box : w.boxes) connect(box.check, &QCheckBox::toggled, this, &WizardPart::changed);
}

QString ExtensionChoice::current() const {
  QString list;
  for (const Box& box : w.boxes) {
    if (box.check->isChecked()) list += box.piece + u',';
  }
  list += w.custom->text();
  if (list.endsWith(u',')) list.chop(1);
  return list;
}

QString ExtensionChoice::problem() const {
  return clashWithOption(tr("The extension list"), current(), tr("change the extensions."));
}

QStringList ExtensionChoice::arguments(const CommandContext& context) const {
  const QString list = context.describing ? current() : fixed;
  if (list.isEmpty()) return {};
  return {optionName(ConverterOption::FileExtensions), list};
}

QString ExtensionChoice::summary() const {
  return QStringLiteral("File Extensions:\n") + fixed + u'\n';
}
