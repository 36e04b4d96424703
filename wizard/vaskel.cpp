#include "vaskel.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QRadioButton>
#include <QStandardPaths>
#include <utility>

#include "vaskel_status.h"

namespace {

bool pathExists(const QString& path) { return !path.isEmpty() && QFileInfo::exists(path); }

void colourText(QLineEdit* field, bool exists) {
  QPalette palette = field->palette();
  palette.setColor(QPalette::Text, exists ? QColor(0, 0, 0) : QColor(255, 0, 0));
  field->setPalette(palette);
}

}  // namespace

Vaskel::Vaskel(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : VaskelBase(parent, name, modal, flags),
      page0Paths{{ProjectEdit, tr("The .project file")},
                 {WRProjectEdit, tr("The .wrproject file")},
                 {WRWorkspaceDirEdit, tr("The workspace folder")},
                 {OlvProjectEdit, tr("The output folder")}},
      personalities{
          {MsgPersonEdit, tr("The message personality"), ConverterOption::MessagePersonality},
          {AnalPersonEdit, tr("The template analyser personality"),
           ConverterOption::AnalyserPersonality},
          {CmpPersonEdit, tr("The compiler personality"), ConverterOption::CompilerPersonality}},
      extensions{{cppCheck, QLatin1String("cpp")}, {ccCheck, QLatin1String("cc")},
                 {cxxCheck, QLatin1String("cxx")}, {cCheck, QLatin1String("c")},
                 {hCheck, QLatin1String("h")},     {hhCheck, QLatin1String("hh")},
                 {hppCheck, QLatin1String("hpp")}, {hxxCheck, QLatin1String("hxx")}} {
  Page0->setComplete(false);
  Page3->setComplete(false);  // until Next on Page 2 has built the summary
  connectFields();

  project = new ProjectChoice({Page0, ProjectEdit, WRProjectEdit, WRWorkspaceDirEdit, OlvNameEdit,
                               NameNoteLabel, WorkspaceOfferLabel, WorkspaceOfferCombo,
                               WorkspaceOfferBtn},
                              page0Fields(), this);
  // After the check, which the fields it fills then run again.
  connect(ProjectEdit, &QLineEdit::textChanged, project, &ProjectChoice::projectChanged);
  connect(project, &ProjectChoice::dropped, this, [this](const QString& path) { lastPath = path; });

  workspace = new WorkspaceChoice(
      {Page0OneProjectRadio, Page0WorkspaceRadio, Page0WorkspaceProjectsLabel,
       Page0WorkspaceProjectList,
       {textLabel1_3, textLabel1_3_2, ProjectEdit, WRProjectEdit, ProjectBrowseBtn,
        WRProjectBrowseBtn},
       {textLabel1_2, OlvNameEdit}},
      this);

  question = new ConverterQuestion([this] { return describeCommand(); },
                                   {ProjectStatusLabel, DescribeStatusLabel}, this);
  connect(question, &ConverterQuestion::asked, this, [this] { lastPathsPresent = pathsPresent(); });
  connect(question, &ConverterQuestion::answered, this, &Vaskel::takeAnswer);
  connect(question, &ConverterQuestion::noAnswer, this, &Vaskel::takeNoAnswer);
  for (QLineEdit* field : commandLineFields())
    connect(field, &QLineEdit::textChanged, question, &ConverterQuestion::schedule);
  connect(workspace, &WorkspaceChoice::changed, question, &ConverterQuestion::schedule);
  connect(workspace, &WorkspaceChoice::changed, this, [this] { Page0LineEdit_textchanged(QString()); });
  connect(Page0WorkspaceRadio, &QRadioButton::toggled, this, [this](bool on) {
    // What the last answer said was about the other form of the question.
    if (on) project->showName(false, QString());
    workspace->clear();
    mode->clear();
  });

  mode = new WorkbenchMode({WorkbenchBox, SpecCombo, TargetCombo, VariablesTable}, this);
  connect(mode, &WorkbenchMode::changed, question, &ConverterQuestion::schedule);
  connect(mode, &WorkbenchMode::changed, this, &Vaskel::Page2Check);
  database = new CompilationDatabase({CdbCheck, CdbEdit, CdbBrowseBtn, OlvProjectEdit}, this);
  connect(database, &CompilationDatabase::changed, question, &ConverterQuestion::schedule);
  connect(database, &CompilationDatabase::changed, this, &Vaskel::Page2Check);
  connect(CdbBrowseBtn, &QPushButton::clicked, this, &Vaskel::CdbBrowseBtn_clicked);
  // Page 2's Next waits for values the converter would take for options.
  connect(CustExtEdit, &QLineEdit::textChanged, this, &Vaskel::Page2Check);
  for (const Extension& extension : extensions) {
    connect(extension.check, &QCheckBox::toggled, question, &ConverterQuestion::schedule);
    connect(extension.check, &QCheckBox::toggled, this, &Vaskel::Page2Check);
  }

  conversion = new ConversionRun(this, {Page3, DetailsText, RunProgressBar, Page3StatusLabel});
  connect(conversion, &ConversionRun::outputReady, this, &Vaskel::readFromStdout);
  connect(conversion, &ConversionRun::exited, this, &Vaskel::processExit);

  for (auto which : {QWizard::NextButton, QWizard::BackButton, QWizard::CancelButton,
                     QWizard::FinishButton, QWizard::CustomButton1}) {
    QPalette palette(QColor(Qt::white), QColor(Qt::white));
    palette.setColor(QPalette::Window, QColor("white"));
    button(which)->setPalette(palette);
  }

  lastPath = QDir::toNativeSeparators(QStringLiteral("/"));
  converterPath = locateConverter(QCoreApplication::applicationDirPath());
  Page0LineEdit_textchanged(QString());  // says why Next waits, from the start
  loadSettings();
}

QList<QLineEdit*> Vaskel::page0Fields() const {
  QList<QLineEdit*> fields;
  for (const PathField& path : page0Paths) fields << path.edit;
  return fields << OlvNameEdit;
}

QList<QLineEdit*> Vaskel::commandLineFields() const {
  QList<QLineEdit*> fields = page0Fields();
  for (const Personality& personality : personalities) fields << personality.edit;
  return fields << CustExtEdit;
}

// The page checks run on every change of a field's text and on every key
// released in it (Vaskel::eventFilter).
void Vaskel::connectFields() {
  for (QLineEdit* field : page0Fields()) {
    connect(field, &QLineEdit::textChanged, this, &Vaskel::Page0LineEdit_textchanged);
    field->installEventFilter(this);
  }
  for (const Personality& personality : personalities) {
    connect(personality.edit, &QLineEdit::textChanged, this, &Vaskel::Page1LineEdit_textchanged);
    personality.edit->installEventFilter(this);
  }
  const std::pair<QPushButton*, void (Vaskel::*)()> browsers[] = {
      {ProjectBrowseBtn, &Vaskel::ProjectBrowseBtn_clicked},
      {WRProjectBrowseBtn, &Vaskel::WRProjectBrowseBtn_clicked},
      {OlvProjectBrowseBtn, &Vaskel::OlvProjectBrowseBtn_clicked},
      {WRWorkspaceBrowseBtn, &Vaskel::WRWorkspaceBrowseBtn_clicked},
      {MsgBrowseBtn, &Vaskel::MsgBrowseBtn_clicked},
      {AnalBrowseBtn, &Vaskel::AnalBrowseBtn_clicked},
      {CmpBrowseBtn, &Vaskel::CmpBrowseBtn_clicked}};
  for (const auto& [button, slot] : browsers) connect(button, &QPushButton::clicked, this, slot);
}

QString Vaskel::locateConverter(const QString& folder) {
  const QString beside =
      QStandardPaths::findExecutable(QStringLiteral("Plovik"), QStringList{folder});
  return beside.isEmpty() ? QStringLiteral("Plovik") : beside;
}

bool Vaskel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    // Re-checking on every key release, even one that changed nothing, also
    // notices a file that appeared or vanished since the last edit.
    if (page0Fields().contains(qobject_cast<QLineEdit*>(watched))) {
      Page0LineEdit_textchanged(QString());
      return false;
    }
    for (const Personality& personality : personalities) {
      if (watched == personality.edit) {
        Page1LineEdit_textchanged(QString());
        return false;
      }
    }
  }
  return VaskelBase::eventFilter(watched, event);
}

void Vaskel::Page0LineEdit_textchanged(const QString&) {
  for (const PathField& path : page0Paths) colourText(path.edit, pathExists(path.edit->text()));
  const QString problem = page0Problem();
  Page0->setComplete(problem.isEmpty());
  showStatus(Page0StatusLabel, problem);
  if (!workspace->isOn()) {
    project->offerWorkspaces();
    return;
  }
  // The offer is about the one project's .project, not asked for now.
  const QList<QWidget*> offer{WorkspaceOfferLabel, WorkspaceOfferCombo, WorkspaceOfferBtn};
  for (QWidget* widget : offer) widget->hide();
}

void Vaskel::Page1LineEdit_textchanged(const QString&) {
  // Every personality is optional, but one that is given must exist.
  for (const Personality& personality : personalities) {
    const QString path = personality.edit->text();
    if (!path.isEmpty()) colourText(personality.edit, pathExists(path));
  }
  const QString problem = page1Problem();
  Page1->setComplete(problem.isEmpty());
  showStatus(Page1StatusLabel, problem);
}

void Vaskel::Page2Check() {
  const QString problem = page2Problem();
  Page2->setComplete(problem.isEmpty());
  showStatus(Page2StatusLabel, problem);
}

QString Vaskel::page0Problem() const {
  if (workspace->isOn()) {
    for (const PathField& path : page0Paths) {
      if (path.edit != WRWorkspaceDirEdit && path.edit != OlvProjectEdit) continue;
      const QString problem = missingPath(path.what, path.edit->text());
      if (!problem.isEmpty()) return problem;
    }
    return workspace->problem();
  }
  for (const PathField& path : page0Paths) {
    const QString problem = missingPath(path.what, path.edit->text());
    if (!problem.isEmpty()) return problem;
  }
  const QString name = OlvNameEdit->text();
  if (name.isEmpty()) return tr("The project needs a name.");
  return project->nameFromProject()
             ? clashWithOption(tr("The .project file names the project"), name,
                               tr("rename the project in Workbench."))
             : clashWithOption(tr("The name"), name, tr("choose another name."));
}

QString Vaskel::page1Problem() const {
  for (const Personality& personality : personalities) {
    const QString path = personality.edit->text();
    if (path.isEmpty()) continue;  // every personality is optional
    QString problem = missingPath(personality.what, path);
    if (problem.isEmpty()) problem = clashWithOption(personality.what, path, tr("choose another file."));
    if (!problem.isEmpty()) return problem;
  }
  return QString();
}

QString Vaskel::page2Problem() const {
  QString problem = clashWithOption(tr("The extension list"), currentExtensionList(),
                                    tr("change the extensions."));
  if (problem.isEmpty()) problem = database->problem();
  if (problem.isEmpty()) problem = mode->problem();
  return problem;
}

QString Vaskel::pathsPresent() const {
  QString present;
  for (const PathField& path : page0Paths) present += QFileInfo::exists(path.edit->text()) ? u'1' : u'0';
  for (const Personality& personality : personalities)
    present += QFileInfo::exists(personality.edit->text()) ? u'1' : u'0';
  return present;
}

void Vaskel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    Page0LineEdit_textchanged(QString());
    Page1LineEdit_textchanged(QString());
    // What the converter said may have been about files that were missing.
    const QString present = pathsPresent();
    if (present != lastPathsPresent) {
      lastPathsPresent = present;
      question->askAgain();
    }
  }
  VaskelBase::changeEvent(event);
}

ConverterQuestion::Command Vaskel::describeCommand() const {
  if (workspace->isOn()) {
    if (WRWorkspaceDirEdit->text().isEmpty() || OlvProjectEdit->text().isEmpty()) return {};
    return {converterPath, conversionArguments(true)};
  }
  // Nothing to ask until the project's files and workspace are named.
  for (QLineEdit* field : {ProjectEdit, WRProjectEdit, WRWorkspaceDirEdit}) {
    if (field->text().isEmpty()) return {};
  }
  return {converterPath, conversionArguments(true)};
}

void Vaskel::takeAnswer(const ProjectDescription& answer) {
  if (workspace->isOn()) {
    // An answer of the one-project form lists nothing.
    if (answer.isWorkspace())
      workspace->take(answer);
    else
      workspace->clear();
    Page2Check();
    return;
  }
  project->showName(answer.namedByProject(), answer.projectName);
  mode->take(answer);
  Page2Check();
}

// What the lists and the name showed may be about other files.
void Vaskel::takeNoAnswer() {
  if (workspace->isOn()) workspace->clear();
  project->showName(false, QString());
  mode->clear();
  Page2Check();
}

QStringList Vaskel::conversionArguments(bool forDescribe) const {
  QStringList arguments;
  if (workspace->isOn()) {
    // Each project is named by its own .project; the run is in the
    // real-project mode whether or not Page 2 asks for it.
    arguments << optionName(ConverterOption::Workspace) << WRWorkspaceDirEdit->text()
              << OlvProjectEdit->text();
    if (!mode->isOn()) arguments << optionName(ConverterOption::RealProject);
  } else {
    for (const PathField& path : page0Paths) arguments << path.edit->text();
    arguments << optionName(ConverterOption::ProjectName) << OlvNameEdit->text();
  }
  for (const Personality& personality : personalities) {
    if (!personality.edit->text().isEmpty())
      arguments << optionName(personality.option) << personality.edit->text();
  }
  // A question about the project may come before Page 2 is left: it takes
  // the extensions as the boxes stand.
  const QString list = forDescribe ? currentExtensionList() : extensionList;
  if (!list.isEmpty()) arguments << optionName(ConverterOption::FileExtensions) << list;
  arguments += database->arguments() + mode->arguments();
  // The question lists every project; the run converts the ticked ones.
  if (workspace->isOn() && !forDescribe) arguments += workspace->arguments();
  return arguments;
}

// The folder the next dialog opens in. Given the last file itself, the dialog
// would also preselect it, even in a dialog that asks for another kind of file.
QString Vaskel::browseStart() const {
  const QFileInfo last(lastPath);
  return last.isDir() ? lastPath : QDir::toNativeSeparators(last.absolutePath());
}

QString Vaskel::browseFile(const QString& caption, const QString& filter) {
  QFileDialog dialog(this, caption, browseStart(), filter);
  dialog.setObjectName(QStringLiteral("open file dialog"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

QString Vaskel::browseFolder(const QString& caption) {
  QFileDialog dialog(this, caption, browseStart());
  dialog.setObjectName(QStringLiteral("get existing directory"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

void Vaskel::takeBrowsed(const QString& path, QLineEdit* field) {
  const QString native = QDir::toNativeSeparators(path);
  if (native.isEmpty()) return;  // the dialog was cancelled
  lastPath = native;
  field->setText(native);
}

void Vaskel::ProjectBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a WindRiver Project"), tr("Projects (*.project)")),
              ProjectEdit);
}

void Vaskel::WRProjectBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a WindRiver Project"), tr("WR Projects (*.wrproject)")),
              WRProjectEdit);
}

void Vaskel::WRWorkspaceBrowseBtn_clicked() {
  takeBrowsed(browseFolder(tr("Specify the WindRiver Workspace Directory")), WRWorkspaceDirEdit);
}

void Vaskel::OlvProjectBrowseBtn_clicked() {
  takeBrowsed(browseFolder(tr("Select the Olvex/Olvex++ Project Destination Directory")),
              OlvProjectEdit);
}

void Vaskel::MsgBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a Message Personality"), tr("Msg Personalities(*.p_s)")),
              MsgPersonEdit);
}

void Vaskel::AnalBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a Template Analyser Personality"),
                         tr("Analiser Personalities(*.p_a)")),
              AnalPersonEdit);
}

void Vaskel::CmpBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a Compiler Personality"), tr("Cmp Personalities(*.p_c)")),
              CmpPersonEdit);
}

void Vaskel::CdbBrowseBtn_clicked() {
  QFileDialog dialog(this, tr("Select the Compilation Database File"), browseStart(),
                     tr("Compilation databases (*.json)"));
  dialog.setObjectName(QStringLiteral("save file dialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  lastPath = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
  database->takeFile(lastPath);
}

bool Vaskel::validateCurrentPage() {
  if (currentPage() == Page2) {
    extensionList = currentExtensionList();
    DetailsText->setPlainText(summary());
    Page3->setComplete(true);
    showStatus(Page3StatusLabel, QString());
  }
  return VaskelBase::validateCurrentPage();
}

QString Vaskel::currentExtensionList() const {
  QString list;
  for (const Extension& extension : extensions) {
    if (extension.check->isChecked()) list += extension.piece + u',';
  }
  list += CustExtEdit->text();
  if (list.endsWith(u',')) list.chop(1);
  return list;
}

QString Vaskel::summary() const {
  // A workspace run lists its projects; each is named by its own .project.
  const bool whole = workspace->isOn();
  const QString projects =
      whole ? workspace->summary() : ProjectEdit->text() + u'\n' + WRProjectEdit->text();
  return QStringLiteral("WindRiver Project(s):\n") + projects +
         QStringLiteral("\n\nWindRiver Workspace:\n") +
         WRWorkspaceDirEdit->text() +
         QStringLiteral("\n\nOlvex / Olvex++ Project Directory:\n") + OlvProjectEdit->text() +
         QStringLiteral("\n\nOlvex / Olvex++ Project Name:\n") + (whole ? QString() : OlvNameEdit->text()) +
         QStringLiteral("\n\nMessage Personality:\n") + MsgPersonEdit->text() +
         QStringLiteral("\n\nTamplate Analyser Personality:\n") + AnalPersonEdit->text() +
         QStringLiteral("\n\nCompiler Personality:\n") + CmpPersonEdit->text() +
         QStringLiteral("\n\nFile Extensions:\n") + extensionList + u'\n' + database->summary() +
         mode->summary();
}

void Vaskel::loadSettings() {
  const RememberedSettings remembered = settings.load();
  const std::pair<QLineEdit*, std::optional<QString>> fields[] = {
      {WRWorkspaceDirEdit, remembered.workspace}, {MsgPersonEdit, remembered.message},
      {AnalPersonEdit, remembered.analyser},      {CmpPersonEdit, remembered.compiler},
      {OlvProjectEdit, remembered.destination}};
  // Set as typed, so the page checks run and a path that is gone shows red.
  for (const auto& [field, value] : fields) {
    if (value) field->setText(*value);
  }
  if (remembered.workbenchMode) mode->setOn(*remembered.workbenchMode);
  mode->remember({remembered.spec.value_or(QString()), remembered.target.value_or(QString())});
  if (remembered.database) database->setOn(*remembered.database);
  if (remembered.databaseFile) database->setOwnFile(*remembered.databaseFile);
  if (remembered.wholeWorkspace) workspace->setOn(*remembered.wholeWorkspace);
}

void Vaskel::saveSettings() {
  RememberedSettings remembered;
  remembered.workspace = WRWorkspaceDirEdit->text();
  remembered.message = MsgPersonEdit->text();
  remembered.analyser = AnalPersonEdit->text();
  remembered.compiler = CmpPersonEdit->text();
  remembered.destination = OlvProjectEdit->text();
  remembered.workbenchMode = mode->isOn();
  if (mode->isOn()) {
    const WorkbenchMode::Choice choice = mode->choiceToKeep();
    remembered.spec = choice.spec;
    remembered.target = choice.target;
  }
  remembered.database = database->isOn();
  remembered.databaseFile = database->ownFile();
  remembered.wholeWorkspace = workspace->isOn();
  settings.save(remembered);
}

void Vaskel::accept() {
  const QStringList arguments = conversionArguments();
  Page3->setComplete(false);
  if (workspace->isOn()) {
    conversion->startWorkspace(converterPath, arguments, OlvProjectEdit->text(),
                               workspace->projectFiles());
    return;
  }
  conversion->start(converterPath, arguments, OlvProjectEdit->text(), OlvNameEdit->text());
}

void Vaskel::readFromStdout() { conversion->readOutput(); }

void Vaskel::processExit() {
  conversion->finish();
  saveSettings();
}

void Vaskel::reject() {
  question->cancel();
  conversion->stop();
  VaskelBase::reject();
}
