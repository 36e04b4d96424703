// The first page's fields: the .project and .wrproject files, the workspace
// folder, the output folder and the project's name, each path checked and
// shown red while it names nothing, each with its Browse button. The project
// is taken without reading its files: a .project path in its field (typed
// or browsed) fills the path fields the user left empty; a project dropped
// anywhere on the page is taken as if browsed; the name the converter's
// answer gives is shown fixed; and a .project outside the workspace offers
// the folders above it. What the files hold is the converter's to say
// (vaskel_question.h). With the whole workspace chosen (vaskel_workspace.h)
// only the workspace and output folders count.
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include "vaskel_part.h"

class PathBrowser;
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

class ProjectChoice : public WizardPart {
  Q_OBJECT

 public:
  struct Widgets {
    QWidget* page;
    QLineEdit* project;
    QLineEdit* wrProject;
    QLineEdit* workspace;
    QLineEdit* destination;
    QLineEdit* name;
    QLabel* nameNote;
    QLabel* offerLabel;
    QComboBox* offers;
    QPushButton* useOffer;
    QPushButton* projectBrowse;
    QPushButton* wrProjectBrowse;
    QPushButton* workspaceBrowse;
    QPushButton* destinationBrowse;
    // What names one project: hidden, or disabled, for the whole workspace.
    QList<QWidget*> hiddenForWorkspace;
    QList<QWidget*> disabledForWorkspace;
  };

  ProjectChoice(const Widgets& widgets, PathBrowser* browser, QObject* parent = nullptr);

  // Takes drops on the page and on its fields; a key released in a field
  // checks the page again.
  bool eventFilter(QObject* watched, QEvent* event) override;

  // One project, or every project of the workspace folder.
  void setWholeWorkspace(bool whole);
  // Whether the converter can be asked: the project's files and the
  // workspace are named (the workspace and the output folder, for the whole
  // workspace).
  bool canAsk() const;
  QString destination() const;
  QString name() const;

  void check() override;
  QString problem() const override;
  // The paths and -pn NAME; for the whole workspace -workspace WS DEST,
  // which is a run in the real-project mode whether or not Page 2 asks for it.
  QStringList arguments(const CommandContext& context = {}) const override;
  QString summary() const override;
  QString pathsPresent() const override;
  void load(const RememberedSettings& remembered) override;
  void save(RememberedSettings& remembered) override;

  // Fills the empty path fields from the project file `text` names.
  void projectChanged(const QString& text);
  // Shows the name the converter's answer gives: fixed where the .project
  // names the project, else what the user typed.
  void showName(bool namedByProject, const QString& name);
  bool nameFromProject() const { return namedByProject; }
  // Offers the folders above the .project while it lies outside the workspace.
  void offerWorkspaces();

 private:
  // A path field and the words its status line names it by.
  struct PathField {
    QLineEdit* edit;
    QString what;
    bool oneProjectOnly;  // passed over for the whole workspace
  };
  // The fields a drop on them is taken from: the paths, then the name.
  QList<QLineEdit*> fields() const;

  void fillFromProject(QLineEdit* field, const QString& value);
  bool takeDrag(QEvent* event);
  void useOffer();

  Widgets w;
  PathBrowser* browser;
  // The paths in the form's order: .project, .wrproject, workspace, output folder.
  const QList<PathField> paths;
  bool wholeWorkspace = false;
  // What each field was last given by a project, to tell it from what the
  // user typed.
  QHash<QLineEdit*, QString> filledFromProject;
  // The name the user typed, kept while the .project names the project.
  QString typedName;
  bool namedByProject = false;
};
