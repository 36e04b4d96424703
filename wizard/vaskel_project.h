// The first page's project, taken without reading its files: a .project path
// in its field (typed or browsed) fills the path fields the user left empty;
// a project dropped anywhere on the page is taken as if browsed; the name the
// converter's answer gives is shown fixed; and a .project outside the
// workspace offers the folders above it. What the files hold is the
// converter's to say (vaskel_question.h).
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QWidget;

// The project file a dropped path stands for: the path itself when it names a
// file ending in ".project", the ".project" inside it when it names a folder
// that holds one, otherwise the empty text.
QString projectFileFor(const QString& droppedPath);

class ProjectChoice : public QObject {
  Q_OBJECT

 public:
  struct Widgets {
    QWidget* page;
    QLineEdit* project;
    QLineEdit* wrProject;
    QLineEdit* workspace;
    QLineEdit* name;
    QLabel* nameNote;
    QLabel* offerLabel;
    QComboBox* offers;
    QPushButton* useOffer;
  };

  // Takes drops on the page and on `dropTargets`, its fields.
  ProjectChoice(const Widgets& widgets, const QList<QLineEdit*>& dropTargets,
                QObject* parent = nullptr);

  bool eventFilter(QObject* watched, QEvent* event) override;

  // Fills the empty path fields from the project file `text` names.
  void projectChanged(const QString& text);
  // Shows the name the converter's answer gives: fixed where the .project
  // names the project, else what the user typed.
  void showName(bool namedByProject, const QString& name);
  bool nameFromProject() const { return namedByProject; }
  // Offers the folders above the .project while it lies outside the workspace.
  void offerWorkspaces();

 signals:
  // A project was dropped on the page; `path` is the one it takes.
  void dropped(const QString& path);

 private:
  void fillFromProject(QLineEdit* field, const QString& value);
  bool takeDrag(QEvent* event);
  void useOffer();

  Widgets w;
  QList<QLineEdit*> dropTargets;
  // What each field was last given by a project, to tell it from what the
  // user typed.
  QHash<QLineEdit*, QString> filledFromProject;
  // The name the user typed, kept while the .project names the project.
  QString typedName;
  bool namedByProject = false;
};
