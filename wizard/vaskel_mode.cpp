#include "vaskel_mode.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QTableWidgetItem>

#include "vaskel_converter_options.h"
#include "vaskel_status.h"

namespace {

const QColor kUnresolved(200, 0, 0);

QTableWidgetItem* fixedItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

WorkbenchMode::WorkbenchMode(const Widgets& widgets, QObject* parent)
    : WizardPart(parent), w(widgets) {
  w.variables->setRowCount(0);
  // Rows as tall as the font needs and no taller, so that six show at once;
  // the names and sources whole, the values taking what is left.
  const int line = w.variables->fontMetrics().height();
  w.variables->verticalHeader()->setMinimumSectionSize(line + 1);
  w.variables->verticalHeader()->setDefaultSectionSize(line + 1);
  QHeaderView* header = w.variables->horizontalHeader();
  header->setFixedHeight(line + 3);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  header->setSectionResizeMode(1, QHeaderView::Stretch);
  header->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  connect(w.variables, &QTableWidget::itemChanged, this, &WorkbenchMode::valueChanged);
  // After the box has set its children's state: a list with nothing to
  // choose from stays off.
  connect(w.box, &QGroupBox::toggled, this, &WorkbenchMode::enableLists);
  connect(w.box, &QGroupBox::toggled, this, &WorkbenchMode::changed);
  connect(w.specs, &QComboBox::currentIndexChanged, this, &WorkbenchMode::changed);
  connect(w.targets, &QComboBox::currentIndexChanged, this, &WorkbenchMode::changed);
  fillTargets({});
  enableLists();
}

bool WorkbenchMode::isOn() const { return w.box->isChecked(); }

void WorkbenchMode::setOn(bool on) { w.box->setChecked(on); }

void WorkbenchMode::take(const ProjectDescription& answer) {
  described = answer.variables;
  fillSpecs(answer.knownSpecs, answer.defaultSpec);
  fillTargets(answer.knownTargets);
  // A value being typed stays: its end asks again, and that answer fills in.
  // (The cell's editor is the only widget in the table that takes the focus.)
  const QWidget* focus = QApplication::focusWidget();
  const bool typing = focus && w.variables->viewport()->isAncestorOf(focus);
  if (!typing) fillVariables(answer.variables, answer.expandsVariables());
}

void WorkbenchMode::clear() {
  described.clear();
  fillSpecs({}, QString());
  fillTargets({});
  fillVariables({}, false);
}

// With no build spec named the converter picks one; with no target named
// there is nothing to choose but all. Set here, not by the box alone, since
// a list set usable while the box is off would stay usable.
void WorkbenchMode::enableLists() {
  w.specs->setEnabled(isOn() && w.specs->count() > 0);
  w.targets->setEnabled(isOn() && w.targets->count() > 1);
}

void WorkbenchMode::fillSpecs(const QStringList& known, const QString& defaultSpec) {
  const QString wanted = w.specs->currentIndex() >= 0 ? w.specs->currentText() : remembered.spec;
  {
    const QSignalBlocker quiet(w.specs);
    w.specs->clear();
    w.specs->addItems(known);
    qsizetype index = known.indexOf(wanted);
    if (index < 0) index = known.indexOf(defaultSpec);
    if (index < 0 && !known.isEmpty()) index = 0;
    w.specs->setCurrentIndex(int(index));
  }
  enableLists();
}

void WorkbenchMode::fillTargets(const QStringList& known) {
  const QString wanted =
      w.targets->currentIndex() > 0 ? w.targets->currentText() : remembered.target;
  {
    const QSignalBlocker quiet(w.targets);
    w.targets->clear();
    w.targets->addItem(tr("all targets"));
    w.targets->addItems(known);
    w.targets->setCurrentIndex(int(known.indexOf(wanted)) + 1);  // not known: all targets
  }
  enableLists();
}

// One row per variable the project refers to: its name, the value the user
// gave or else the one the converter found, and where that value comes from.
void WorkbenchMode::fillVariables(const QList<DescribedVariable>& variables, bool expanded) {
  // The values given are kept for the variables still referred to; without
  // the mode nothing is expanded, so nothing is forgotten either.
  if (expanded) {
    QHash<QString, QString> kept;
    for (const DescribedVariable& variable : variables) {
      if (givenValues.contains(variable.name)) kept.insert(variable.name, givenValues[variable.name]);
    }
    givenValues = kept;
  }
  const QSignalBlocker quiet(w.variables);
  w.variables->setRowCount(0);
  for (const DescribedVariable& variable : variables) {
    const int row = w.variables->rowCount();
    w.variables->insertRow(row);
    QTableWidgetItem* name = fixedItem(variable.name);
    QTableWidgetItem* source = fixedItem(variable.resolved() ? variable.source : tr("unresolved"));
    if (!variable.resolved()) {
      name->setForeground(kUnresolved);
      source->setForeground(kUnresolved);
      name->setToolTip(plainToolTip(
          tr("No value: type one, or the path keeps $(%1) as written.").arg(variable.name)));
    }
    if (name->toolTip().isEmpty()) name->setToolTip(plainToolTip(variable.name));
    w.variables->setItem(row, 0, name);
    auto* value = new QTableWidgetItem(givenValues.value(variable.name, variable.value));
    value->setToolTip(plainToolTip(value->text()));  // a long path, cut short in the cell
    w.variables->setItem(row, 1, value);
    w.variables->setItem(row, 2, source);
  }
}

void WorkbenchMode::valueChanged(QTableWidgetItem* item) {
  if (item->column() != 1) return;
  const QString name = w.variables->item(item->row(), 0)->text();
  const QString value = item->text();
  QString found;
  for (const DescribedVariable& variable : described) {
    if (variable.name == name && variable.source != optionName(ConverterOption::Variable))
      found = variable.value;
  }
  // An emptied value hands the variable back to the converter's own lookup;
  // the value it found, left as it was, is not the user's.
  if (value.isEmpty() || (!givenValues.contains(name) && value == found))
    givenValues.remove(name);
  else
    givenValues.insert(name, value);
  emit changed();
}

QStringList WorkbenchMode::variableAssignments() const {
  // In the table's order; values given for variables the table does not
  // show (no answer yet) follow by name.
  QStringList assignments;
  QStringList shown;
  for (int row = 0; row < w.variables->rowCount(); ++row) {
    const QString name = w.variables->item(row, 0)->text();
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

QStringList WorkbenchMode::arguments(const CommandContext&) const {
  if (!isOn()) return {};
  QStringList arguments{optionName(ConverterOption::RealProject)};
  if (w.specs->currentIndex() >= 0)
    arguments << optionName(ConverterOption::Spec) << w.specs->currentText();
  for (const QString& assignment : variableAssignments())
    arguments << optionName(ConverterOption::Variable) << assignment;
  if (w.targets->currentIndex() > 0)
    arguments << optionName(ConverterOption::Target) << w.targets->currentText();
  return arguments;
}

QString WorkbenchMode::summary() const {
  if (!isOn()) return QString();
  const QString spec = w.specs->currentIndex() >= 0 ? w.specs->currentText()
                                                    : QStringLiteral("(chosen by Plovik)");
  return QStringLiteral("\nWorkbench Build Spec:\n") + spec +
         QStringLiteral("\n\nWorkbench Build Target:\n") + w.targets->currentText() +
         QStringLiteral("\n\nWorkbench Variables:\n") + variableAssignments().join(u'\n') + u'\n';
}

QString WorkbenchMode::problem() const {
  if (!isOn()) return QString();
  QString problem;
  if (w.specs->currentIndex() >= 0) {
    problem = clashWithOption(tr("The build spec"), w.specs->currentText(),
                              tr("choose another build spec."));
    if (!problem.isEmpty()) return problem;
  }
  if (w.targets->currentIndex() > 0) {
    problem = clashWithOption(tr("The build target"), w.targets->currentText(),
                              tr("choose another build target."));
  }
  return problem;
}

void WorkbenchMode::remember(const Choice& choice) { remembered = choice; }

WorkbenchMode::Choice WorkbenchMode::choiceToKeep() {
  if (w.specs->count() > 0)
    remembered.spec = w.specs->currentIndex() >= 0 ? w.specs->currentText() : QString();
  if (w.targets->count() > 1)
    remembered.target = w.targets->currentIndex() > 0 ? w.targets->currentText() : QString();
  return remembered;
}

void WorkbenchMode::load(const RememberedSettings& settings) {
  if (settings.workbenchMode) setOn(*settings.workbenchMode);
  remember({settings.spec.value_or(QString()), settings.target.value_or(QString())});
}

void WorkbenchMode::save(RememberedSettings& settings) {
  settings.workbenchMode = isOn();
  if (!isOn()) return;
  const Choice choice = choiceToKeep();
  settings.spec = choice.spec;
  settings.target = choice.target;
}
