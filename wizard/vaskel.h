// The wizard's controller. Each page's concerns are parts (vaskel_part.h)
// that own their widgets: the project's fields on the first page
// (vaskel_project.h) and the choice of a whole workspace over one project
// (vaskel_workspace.h), the personalities (vaskel_personalities.h), the file
// extensions (vaskel_extensions.h), the compilation database (vaskel_cdb.h)
// and the real-project mode (vaskel_mode.h). The controller only routes
// between them and the question to the converter (vaskel_question.h), the
// conversion run (vaskel_run.h) and the settings file (vaskel_settings.h):
// a part's change to its page's check and to the question, the parts'
// pieces into the command line, the summary and the settings.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "vaskel_base.h"
#include "vaskel_browse.h"
#include "vaskel_cdb.h"
#include "vaskel_extensions.h"
#include "vaskel_mode.h"
#include "vaskel_personalities.h"
#include "vaskel_project.h"
#include "vaskel_question.h"
#include "vaskel_run.h"
#include "vaskel_settings.h"
#include "vaskel_workspace.h"

class QProcess;

class Vaskel : public VaskelBase {
  Q_OBJECT

 public:
  explicit Vaskel(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                  Qt::WindowFlags flags = {});

  // "Plovik" beside the program in `folder` when it is there, otherwise the
  // bare name, which the program search then resolves.
  static QString locateConverter(const QString& folder);

  // The converter that Finish starts and that is asked about the project.
  QString converterPath;
  // The browse dialogs, which open where the last path was chosen.
  PathBrowser browser;

  // The parts, each owning its widgets' behaviour and its own state.
  ProjectChoice* project = nullptr;
  WorkspaceChoice* workspace = nullptr;
  Personalities* personalities = nullptr;
  ExtensionChoice* extensions = nullptr;
  CompilationDatabase* database = nullptr;
  WorkbenchMode* mode = nullptr;
  ConverterQuestion* question = nullptr;
  ConversionRun* conversion = nullptr;
  SettingsFile settings;

  // The process of the most recent conversion, a child of the wizard.
  QProcess* converterProcess() const { return conversion->process(); }
  // True while the converter is being asked, or is about to be.
  bool describing() const { return question->pending(); }
  // The command line of a conversion, without the program; `forDescribe`
  // takes the extensions as Page 2's boxes stand, before Next has fixed them.
  QStringList conversionArguments(bool forDescribe = false) const;

 protected slots:
  void accept() override;
  void reject() override;

 protected:
  // Leaving Page 2 by Next fixes the extension list and builds the summary.
  bool validateCurrentPage() override;
  // Coming back to the window checks the paths again: a folder made in a
  // terminal meanwhile counts at once.
  void changeEvent(QEvent* event) override;

 private:
  // A page, the line under it that says what keeps its Next disabled, and
  // its parts in the order their problems are named.
  struct Page {
    VaskelPage* page;
    QLabel* status;
    QList<WizardPart*> parts;
  };

  void checkPage(const Page& page);
  ConverterQuestion::Command describeCommand() const;
  void takeAnswer(const ProjectDescription& answer);
  void takeNoAnswer();
  QString summary() const;
  QString pathsPresent() const;

  QList<Page> pages;
  // Every part, in the order of the command line and of the summary.
  QList<WizardPart*> parts;
  QString lastPathsPresent;
};
