// The wizard's controller: a small class over parts of one concern each. It
// checks the pages as the user types, offers the browse dialogs, builds the
// command line and the summary from the fields, and hands the rest to its
// parts: the project on the first page (vaskel_project.h), the question to
// the converter (vaskel_question.h), the real-project mode (vaskel_mode.h),
// the compilation database (vaskel_cdb.h), the conversion run and its log
// (vaskel_run.h), the settings file (vaskel_settings.h) and the choice of a
// whole workspace over one project (vaskel_workspace.h).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "vaskel_base.h"
#include "vaskel_cdb.h"
#include "vaskel_converter_options.h"
#include "vaskel_mode.h"
#include "vaskel_project.h"
#include "vaskel_question.h"
#include "vaskel_run.h"
#include "vaskel_settings.h"
#include "vaskel_workspace.h"

class QCheckBox;
class QProcess;

class Vaskel : public VaskelBase {
  Q_OBJECT

 public:
  explicit Vaskel(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                  Qt::WindowFlags flags = {});

  bool eventFilter(QObject* watched, QEvent* event) override;

  // "Plovik" beside the program in `folder` when it is there, otherwise the
  // bare name, which the program search then resolves.
  static QString locateConverter(const QString& folder);

  // Built when Next leaves Page 2; shown in the summary and given to -ext.
  QString extensionList;
  // Where the next browse dialog opens: the path chosen last.
  QString lastPath;
  // The converter that Finish starts and that is asked about the project.
  QString converterPath;

  // The parts, each owning its widgets' behaviour and its own state.
  ProjectChoice* project = nullptr;
  WorkspaceChoice* workspace = nullptr;
  ConverterQuestion* question = nullptr;
  WorkbenchMode* mode = nullptr;
  CompilationDatabase* database = nullptr;
  ConversionRun* conversion = nullptr;
  SettingsFile settings;

  // The process of the most recent conversion, a child of the wizard.
  QProcess* converterProcess() const { return conversion->process(); }
  // True while the converter is being asked, or is about to be.
  bool describing() const { return question->pending(); }
  // The command line of a conversion, without the program; `forDescribe`
  // takes the extensions as Page 2's boxes stand, before Next has made the list.
  QStringList conversionArguments(bool forDescribe = false) const;

 public slots:
  void ProjectBrowseBtn_clicked();
  void WRProjectBrowseBtn_clicked();
  void WRWorkspaceBrowseBtn_clicked();
  void OlvProjectBrowseBtn_clicked();
  void Page0LineEdit_textchanged(const QString&);
  void Page1LineEdit_textchanged(const QString&);
  void MsgBrowseBtn_clicked();
  void AnalBrowseBtn_clicked();
  void CmpBrowseBtn_clicked();
  void readFromStdout();
  void processExit();
  void CdbBrowseBtn_clicked();

 protected slots:
  void accept() override;
  void reject() override;

 protected:
  // Leaving Page 2 by Next builds the extension list and the summary.
  bool validateCurrentPage() override;
  // Coming back to the window checks the paths again: a folder made in a
  // terminal meanwhile counts at once.
  void changeEvent(QEvent* event) override;

 private:
  // A path field and the words its status line names it by.
  struct PathField {
    QLineEdit* edit;
    QString what;
  };
  // A personality field, its words and the option that passes it.
  struct Personality {
    QLineEdit* edit;
    QString what;
    ConverterOption option;
  };
  // An extension check box and its piece of the extension list.
  struct Extension {
    QCheckBox* check;
    QLatin1String piece;
  };

  // The first page's fields: its paths, then the name.
  QList<QLineEdit*> page0Fields() const;
  // Every field a conversion's command line is made of.
  QList<QLineEdit*> commandLineFields() const;

  void connectFields();
  ConverterQuestion::Command describeCommand() const;
  void takeAnswer(const ProjectDescription& answer);
  void takeNoAnswer();

  void loadSettings();
  void saveSettings();
  QString currentExtensionList() const;
  QString summary() const;

  QString browseStart() const;
  QString browseFile(const QString& caption, const QString& filter);
  QString browseFolder(const QString& caption);
  void takeBrowsed(const QString& path, QLineEdit* field);

  // What keeps each page's Next disabled, in words; empty when nothing does.
  QString page0Problem() const;
  QString page1Problem() const;
  QString page2Problem() const;
  void Page2Check();
  // Whether each path field names something that exists, to notice a change.
  QString pathsPresent() const;

  // The first page's paths in the form's order: .project, .wrproject,
  // workspace, output folder.
  const QList<PathField> page0Paths;
  const QList<Personality> personalities;
  const QList<Extension> extensions;
  QString lastPathsPresent;
};
