// Page 2's real-project mode: the box that asks the converter to read the
// project as Workbench builds it (-wb), the build spec it reads (-spec), the
// build target whose files it takes (-target) and the variables the project
// refers to, with the values the user gives them (-var NAME=VALUE). The
// lists hold what the converter's latest answer named, nothing else.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "vaskel_describe.h"
#include "vaskel_part.h"

class QComboBox;
class QGroupBox;
class QTableWidget;
class QTableWidgetItem;

class WorkbenchMode : public WizardPart {
  Q_OBJECT

 public:
  struct Widgets {
    QGroupBox* box;
    QComboBox* specs;
    QComboBox* targets;
    QTableWidget* variables;
  };
  // A build spec and target chosen, as the settings file keeps them; empty:
  // the project's default, all targets.
  struct Choice {
    QString spec;
    QString target;
  };

  explicit WorkbenchMode(const Widgets& widgets, QObject* parent = nullptr);

  // Fills the lists from an answer; a choice stays chosen while the answer
  // still names it (else the remembered one, the default, all targets).
  void take(const ProjectDescription& answer);
  // Empties the lists: what they showed may be about other files.
  void clear();

  bool isOn() const;
  void setOn(bool on);
  // The options a conversion gets: -wb, -spec NAME, the -var options in the
  // order of the rows, -target NAME; none while the box is off.
  QStringList arguments(const CommandContext& context = {}) const override;
  // The summary's lines about the mode; empty while the box is off.
  QString summary() const override;
  // What keeps Next waiting: a build spec or target the converter would take
  // for one of its options. Empty while there is none.
  QString problem() const override;
  // The box, and the build spec and target to preselect; the choice to keep
  // is remembered only with the box on.
  void load(const RememberedSettings& remembered) override;
  void save(RememberedSettings& remembered) override;

  // The choice to preselect when an answer names it.
  void remember(const Choice& choice);
  // The choice to keep for the next start: the lists' own, unless they hold
  // no answer (a run that failed on a broken project, say), in which case
  // the remembered choice stays.
  Choice choiceToKeep();

 private:
  void enableLists();
  void fillSpecs(const QStringList& known, const QString& defaultSpec);
  void fillTargets(const QStringList& known);
  void fillVariables(const QList<DescribedVariable>& variables, bool expanded);
  void valueChanged(QTableWidgetItem* item);
  QStringList variableAssignments() const;

  Widgets w;
  // The variables the latest answer named, for the values it found.
  QList<DescribedVariable> described;
  // Variable values the user gave, by name; passed as -var.
  QHash<QString, QString> givenValues;
  Choice remembered;
};
