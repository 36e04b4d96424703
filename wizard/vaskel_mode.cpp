// Page 2's real-project mode: the check box that asks the converter to read
// the project as Workbench builds it (-wb), the build spec it reads (-spec),
// the build target whose files it takes (-target) and the variables the
// project refers to, with the values the user gives them (-var NAME=VALUE).
// The lists hold what the converter's latest answer named, nothing else.
#include <QHeaderView>
#include <QTableWidgetItem>

#include "vaskel.h"

namespace {

const QColor kUnresolved(200, 0, 0);

QTableWidgetItem* fixedItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

void Vaskel::setUpWorkbenchMode() {
  VariablesTable->setRowCount(0);
  // Rows as tall as the font needs and no taller, so that six show at once;
  // the names and sources whole, the values taking what is left.
  const int line = VariablesTable->fontMetrics().height();
  VariablesTable->verticalHeader()->setMinimumSectionSize(line + 1);
  VariablesTable->verticalHeader()->setDefaultSectionSize(line + 1);
  QHeaderView* header = VariablesTable->horizontalHeader();
  header->setFixedHeight(line + 3);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  header->setSectionResizeMode(1, QHeaderView::Stretch);
  header->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  connect(VariablesTable, &QTableWidget::itemChanged, this, &Vaskel::VariablesTable_itemChanged);
  connect(WorkbenchBox, &QGroupBox::toggled, this, &Vaskel::scheduleDescribe);
  // After the box has set its children's state: a list with nothing to
  // choose from stays off.
  connect(WorkbenchBox, &QGroupBox::toggled, this, &Vaskel::enableModeLists);
  connect(SpecCombo, &QComboBox::currentIndexChanged, this, &Vaskel::scheduleDescribe);
  connect(TargetCombo, &QComboBox::currentIndexChanged, this, &Vaskel::scheduleDescribe);
  // Page 2's Next waits for values the converter would take for options.
  connect(SpecCombo, &QComboBox::currentIndexChanged, this, &Vaskel::Page2Check);
  connect(TargetCombo, &QComboBox::currentIndexChanged, this, &Vaskel::Page2Check);
  connect(CustExtEdit, &QLineEdit::textChanged, this, &Vaskel::Page2Check);
  for (QCheckBox* check : {cppCheck, ccCheck, cxxCheck, cCheck, hCheck, hhCheck, hppCheck, hxxCheck})
    connect(check, &QCheckBox::toggled, this, &Vaskel::Page2Check);
  fillTargets({});
  enableModeLists();
}

// With no build spec named the converter picks one; with no target named
// there is nothing to choose but all. Set here, not by the box alone, since
// a list set usable while the box is off would stay usable.
void Vaskel::enableModeLists() {
  SpecCombo->setEnabled(WorkbenchBox->isChecked() && SpecCombo->count() > 0);
  TargetCombo->setEnabled(WorkbenchBox->isChecked() && TargetCombo->count() > 1);
  Page2Check();
}

void Vaskel::fillSpecs(const QStringList& known, const QString& defaultSpec) {
  const QString wanted = SpecCombo->currentIndex() >= 0 ? SpecCombo->currentText() : rememberedSpec;
  {
    const QSignalBlocker quiet(SpecCombo);
    SpecCombo->clear();
    SpecCombo->addItems(known);
    qsizetype index = known.indexOf(wanted);
    if (index < 0) index = known.indexOf(defaultSpec);
    if (index < 0 && !known.isEmpty()) index = 0;
    SpecCombo->setCurrentIndex(int(index));
  }
  enableModeLists();
}

void Vaskel::fillTargets(const QStringList& known) {
  const QString wanted = TargetCombo->currentIndex() > 0 ? TargetCombo->currentText()
                                                          : rememberedTarget;
  {
    const QSignalBlocker quiet(TargetCombo);
    TargetCombo->clear();
    TargetCombo->addItem(tr("all targets"));
    TargetCombo->addItems(known);
    TargetCombo->setCurrentIndex(int(known.indexOf(wanted)) + 1);  // not known: all targets
  }
  enableModeLists();
}

// One row per variable the project refers to: its name, the value the user
// gave or else the one the converter found, and where that value comes from.
void Vaskel::fillVariables(const QList<DescribedVariable>& variables, bool expanded) {
  // The values given are kept for the variables still referred to; without
  // the mode nothing is expanded, so nothing is forgotten either.
  if (expanded) {
    QHash<QString, QString> kept;
    for (const DescribedVariable& variable : variables) {
      if (givenValues.contains(variable.name)) kept.insert(variable.name, givenValues[variable.name]);
    }
    givenValues = kept;
  }
  const QSignalBlocker quiet(VariablesTable);
  VariablesTable->setRowCount(0);
  for (const DescribedVariable& variable : variables) {
    const int row = VariablesTable->rowCount();
    VariablesTable->insertRow(row);
    QTableWidgetItem* name = fixedItem(variable.name);
    QTableWidgetItem* source = fixedItem(variable.resolved() ? variable.source : tr("unresolved"));
    if (!variable.resolved()) {
      name->setForeground(kUnresolved);
      source->setForeground(kUnresolved);
      name->setToolTip(tr("No value: type one, or the path keeps $(%1) as written.")
                           .arg(variable.name));
    }
    if (name->toolTip().isEmpty()) name->setToolTip(variable.name);
    VariablesTable->setItem(row, 0, name);
    auto* value = new QTableWidgetItem(givenValues.value(variable.name, variable.value));
    value->setToolTip(value->text());  // a long path, cut short in the cell
    VariablesTable->setItem(row, 1, value);
    VariablesTable->setItem(row, 2, source);
  }
}

void Vaskel::VariablesTable_itemChanged(QTableWidgetItem* item) {
  if (item->column() != 1) return;
  const QString name = VariablesTable->item(item->row(), 0)->text();
  const QString value = item->text();
  QString found;
  if (description) {
    for (const DescribedVariable& variable : description->variables) {
      if (variable.name == name && variable.source != QLatin1String("-var")) found = variable.value;
    }
  }
  // An emptied value hands the variable back to the converter's own lookup;
  // the value it found, left as it was, is not the user's.
  if (value.isEmpty() || (!givenValues.contains(name) && value == found))
    givenValues.remove(name);
  else
    givenValues.insert(name, value);
  scheduleDescribe();
}

QStringList Vaskel::variableAssignments() const {
  // In the table's order; values given for variables the table does not
  // show (no answer yet) follow by name.
  QStringList assignments;
  QStringList shown;
  for (int row = 0; row < VariablesTable->rowCount(); ++row) {
    const QString name = VariablesTable->item(row, 0)->text();
    shown << name;
    if (givenValues.contains(name)) assignments << name + u'=' + givenValues[name];
  }
  QStringList others = givenValues.keys();
  others.sort();
  for (const QString& name : others) {
    if (!shown.contains(name)) assignments << name + u'=' + givenValues[name];
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
  if (TargetCombo->currentIndex() > 0)
    arguments << QStringLiteral("-target") << TargetCombo->currentText();
  return arguments;
}

QString Vaskel::workbenchSummary() const {
  if (!WorkbenchBox->isChecked()) return QString();
  const QString spec = SpecCombo->currentIndex() >= 0 ? SpecCombo->currentText()
                                                      : QStringLiteral("(chosen by Plovik)");
  return QStringLiteral("\nWorkbench Build Spec:\n") + spec +
         QStringLiteral("\n\nWorkbench Build Target:\n") + TargetCombo->currentText() +
         QStringLiteral("\n\nWorkbench Variables:\n") + variableAssignments().join(u'\n') + u'\n';
}
