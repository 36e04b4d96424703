// The first page's choice between one project and every project of the
// workspace. With the workspace chosen, the fields that name one project
// give way (vaskel_project.h) to a list of the workspace's projects, filled
// from the converter's answer and all ticked; the run converts the ticked ones, each
// into its own folder of the destination.
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include "vaskel_describe.h"
#include "vaskel_part.h"

class QLabel;
class QListWidget;
class QRadioButton;

class WorkspaceChoice : public WizardPart {
  Q_OBJECT

 public:
  struct Widgets {
    QRadioButton* oneProject;
    QRadioButton* workspace;
    QLabel* listLabel;
    QListWidget* list;
  };

  WorkspaceChoice(const Widgets& widgets, QObject* parent = nullptr);

  bool isOn() const;
  void setOn(bool on);

  // Lists the projects of a workspace's answer, each ticked unless the user
  // unticked that project before.
  void take(const ProjectDescription& answer);
  void clear();

  // The projects the run converts, in the list's order.
  QList<WorkspaceMember> ticked() const;
  // `-project NAME` for each ticked project, by its output folder (unique
  // where two projects share a name); none when every project is ticked.
  // A question lists every project, so only a run is given these.
  QStringList selection() const;
  // The project file each ticked project's run writes: OUTPUT/NAME.prj.
  QStringList projectFiles() const;
  // What keeps the page from going on while the workspace is chosen.
  QString problem() const override;
  // The ticked projects' names, a line each, while the workspace is chosen.
  QString summary() const override;
  void load(const RememberedSettings& remembered) override;
  void save(RememberedSettings& remembered) override;

 signals:
  // The choice changed: `whole` for every project of the workspace. Then
  // the list is emptied (it was about the other form of the question) and
  // changed() follows, as it does when the ticks change.
  void formChanged(bool whole);

 private:
  void show(bool workspace);

  Widgets w;
  QList<WorkspaceMember> members;
  // Projects the user unticked, by output folder, kept across answers.
  QSet<QString> unticked;
};
