#include "vaskel_workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

#include "vaskel_converter_options.h"
#include "vaskel_status.h"

WorkspaceChoice::WorkspaceChoice(const Widgets& widgets, QObject* parent)
    : WizardPart(parent), w(widgets) {
  connect(w.workspace, &QRadioButton::toggled, this, [this](bool on) {
    show(on);
    emit formChanged(on);
    clear();
  });
  connect(w.list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    const QString folder = item->data(Qt::UserRole).toString();
    if (item->checkState() == Qt::Checked)
      unticked.remove(folder);
    else
      unticked.insert(folder);
    emit changed();
  });
}

bool WorkspaceChoice::isOn() const { return w.workspace->isChecked(); }

void WorkspaceChoice::setOn(bool on) { (on ? w.workspace : w.oneProject)->setChecked(true); }

void WorkspaceChoice::show(bool workspace) {
  w.listLabel->setVisible(workspace);
  w.list->setVisible(workspace);
}

void WorkspaceChoice::take(const ProjectDescription& answer) {
  members = answer.projects;
  const QSignalBlocker quiet(w.list);
  w.list->clear();
  for (const WorkspaceMember& member : members) {
    const QString folder = QFileInfo(member.output).fileName();
    auto* item = new QListWidgetItem(member.name, w.list);
    item->setData(Qt::UserRole, folder);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(unticked.contains(folder) ? Qt::Unchecked : Qt::Checked);
    QString tip = QDir::toNativeSeparators(member.folder);
    if (!member.failure.isEmpty()) tip += u'\n' + member.failure;
    item->setToolTip(plainToolTip(tip));
    if (!member.failure.isEmpty()) item->setForeground(QColor(255, 0, 0));
  }
  emit changed();
}

void WorkspaceChoice::clear() {
  members.clear();
  w.list->clear();
  emit changed();
}

QList<WorkspaceMember> WorkspaceChoice::ticked() const {
  QList<WorkspaceMember> chosen;
  for (int i = 0; i < w.list->count() && i < members.size(); ++i) {
    if (w.list->item(i)->checkState() == Qt::Checked) chosen << members[i];
  }
  return chosen;
}

QStringList WorkspaceChoice::selection() const {
  const QList<WorkspaceMember> chosen = ticked();
  QStringList arguments;
  if (chosen.size() == members.size()) return arguments;
  for (const WorkspaceMember& member : chosen)
    arguments << optionName(ConverterOption::Project) << QFileInfo(member.output).fileName();
  return arguments;
}

QStringList WorkspaceChoice::projectFiles() const {
  QStringList files;
  for (const WorkspaceMember& member : ticked())
    files << QDir(member.output).filePath(member.name + QStringLiteral(".prj"));
  return files;
}

QString WorkspaceChoice::problem() const {
  if (!isOn()) return QString();
  if (members.isEmpty()) return tr("The workspace's projects are not listed yet.");
  if (ticked().isEmpty()) return tr("Tick at least one project to convert.");
  // Plovik's -project picks by name or by output folder, so a ticked project
  // whose folder is an unticked one's name would convert that one too.
  const QList<WorkspaceMember> chosen = ticked();
  if (chosen.size() == members.size()) return QString();  // no -project at all
  for (const WorkspaceMember& member : chosen) {
    const QString folder = QFileInfo(member.output).fileName();
    for (int i = 0; i < w.list->count() && i < members.size(); ++i) {
      const WorkspaceMember& other = members[i];
      if (w.list->item(i)->checkState() == Qt::Checked || other.name != folder) continue;
      return tr("Plovik cannot convert %1 (%2) without %3 (%4), named like its folder: "
                "tick both or neither.")
          .arg(member.name, folder, other.name, QFileInfo(other.output).fileName());
    }
  }
  return QString();
}

QString WorkspaceChoice::summary() const {
  if (!isOn()) return QString();
  QStringList names;
  for (const WorkspaceMember& member : ticked()) names << member.name;
  return QStringLiteral("WindRiver Project(s):\n") + names.join(u'\n') + QStringLiteral("\n\n");
}

void WorkspaceChoice::load(const RememberedSettings& remembered) {
  if (remembered.wholeWorkspace) setOn(*remembered.wholeWorkspace);
}

void WorkspaceChoice::save(RememberedSettings& remembered) { remembered.wholeWorkspace = isOn(); }
