// The first page's choice between one project and every project of the
// workspace. With the workspace chosen, the fields that name one project
// give way to a list of the workspace's projects, filled from the
// converter's answer and all ticked; the run converts the ticked ones, each
// into its own folder of the destination.
#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include "vaskel_describe.h"

class QLabel;
class QListWidget;
class QRadioButton;
class QWidget;

class WorkspaceChoice : public QObject {
  Q_OBJECT

 public:
  struct Widgets {
    QRadioButton* oneProject;
    QRadioButton* workspace;
    QLabel* listLabel;
    QListWidget* list;
    // What names one project: hidden, or disabled, while the workspace is chosen.
    QList<QWidget*> hiddenForWorkspace;
    QList<QWidget*> disabledForWorkspace;
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
  QStringList arguments() const;
  // The project file each ticked project's run writes: OUTPUT/NAME.prj.
  QStringList projectFiles() const;
  // What keeps the page from going on; empty when nothing does.
  QString problem() const;
  // The ticked projects' names, a line each, for the last page's summary.
  QString summary() const;

 signals:
  // The choice or the ticks changed.
  void changed();

 private:
  void show(bool workspace);

  Widgets w;
  QList<WorkspaceMember> members;
  // Projects the user unticked, by output folder, kept across answers.
  QSet<QString> unticked;
};
