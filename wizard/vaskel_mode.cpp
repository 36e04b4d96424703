// Page 2's real-project mode: the check box that asks the converter to read
// the project as Workbench builds it (-wb), the build spec it reads (-spec)
// and the values of variables the project's paths use (-var NAME=VALUE).
#include <QFileInfo>
#include <QTableWidgetItem>

#include "vaskel.h"
#include "vaskel_project.h"

void Vaskel::setUpWorkbenchMode() {
  VariablesTable->setRowCount(0);
  // Nearly every Workbench project names its installation through WIND_BASE.
  addVariableRow(QStringLiteral("WIND_BASE"), qEnvironmentVariable("WIND_BASE"));
  addVariableRow(QString(), QString());
  connect(VariablesTable, &QTableWidget::itemChanged, this, &Vaskel::VariablesTable_itemChanged);
  SpecCombo->setEnabled(false);  // until a spec list has been read
}

void Vaskel::addVariableRow(const QString& name, const QString& value) {
  const QSignalBlocker quiet(VariablesTable);
  const int row = VariablesTable->rowCount();
  VariablesTable->insertRow(row);
  VariablesTable->setItem(row, 0, new QTableWidgetItem(name));
  VariablesTable->setItem(row, 1, new QTableWidgetItem(value));
}

void Vaskel::VariablesTable_itemChanged() {
  const int last = VariablesTable->rowCount() - 1;
  for (int column = 0; column < 2; ++column) {
    const QTableWidgetItem* item = VariablesTable->item(last, column);
    if (item && !item->text().isEmpty()) {
      addVariableRow(QString(), QString());
      return;
    }
  }
}

void Vaskel::refreshBuildSpecs() {
  const QString path = WRProjectEdit->text();
  const QDateTime modified = QFileInfo(path).lastModified();
  // Read again only for another file: coming back to the page keeps the choice.
  if (!specsReadFrom.isNull() && path == specsReadFrom && modified == specsReadModified) return;
  specsReadFrom = path;
  specsReadModified = modified;

  const QString wanted = SpecCombo->currentIndex() >= 0 ? SpecCombo->currentText() : rememberedSpec;
  const BuildSpecs specs = readBuildSpecs(path);
  SpecCombo->clear();
  SpecCombo->addItems(specs.names);
  qsizetype index = specs.names.indexOf(wanted);
  if (index < 0) index = specs.names.indexOf(specs.defaultName);
  if (index < 0 && !specs.names.isEmpty()) index = 0;
  SpecCombo->setCurrentIndex(int(index));
  // With no list the converter picks the build spec; the check box stays usable.
  SpecCombo->setEnabled(!specs.names.isEmpty());
}

QStringList Vaskel::variableAssignments() const {
  // A row without a value is left out: an empty WIND_BASE would empty every
  // path that starts with it, where the converter would otherwise look the
  // variable up itself and warn when it finds nothing.
  QStringList assignments;
  for (int row = 0; row < VariablesTable->rowCount(); ++row) {
    const QTableWidgetItem* name = VariablesTable->item(row, 0);
    const QTableWidgetItem* value = VariablesTable->item(row, 1);
    if (!name || !value || name->text().trimmed().isEmpty() || value->text().isEmpty()) continue;
    assignments << name->text().trimmed() + u'=' + value->text();
  }
  return assignments;
}

QStringList Vaskel::workbenchArguments() const {
  if (!WorkbenchBox->isChecked()) return {};
  QStringList arguments{QStringLiteral("-wb")};
  if (SpecCombo->currentIndex() >= 0)
    arguments << QStringLiteral("-spec") << SpecCombo->currentText();
  for (const QString& assignment : variableAssignments())
    arguments << QStringLiteral("-var") << assignment;
  return arguments;
}

QString Vaskel::workbenchSummary() const {
  if (!WorkbenchBox->isChecked()) return QString();
  const QString spec = SpecCombo->currentIndex() >= 0 ? SpecCombo->currentText()
                                                      : QStringLiteral("(chosen by Plovik)");
  return QStringLiteral("\nWorkbench Build Spec:\n") + spec +
         QStringLiteral("\n\nWorkbench Variables:\n") + variableAssignments().join(u'\n') + u'\n';
}
