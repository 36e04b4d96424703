#include "vaskel.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QStandardPaths>

#include "vaskel_status.h"

Vaskel::Vaskel(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : VaskelBase(parent, name, modal, flags), browser(this) {
  Page0->setComplete(false);
  Page3->setComplete(false);  // until Next on Page 2 has built the summary

  project = new ProjectChoice(
      {Page0, ProjectEdit, WRProjectEdit, WRWorkspaceDirEdit, OlvProjectEdit, OlvNameEdit,
       NameNoteLabel, WorkspaceOfferLabel, WorkspaceOfferCombo, WorkspaceOfferBtn,
       ProjectBrowseBtn, WRProjectBrowseBtn, WRWorkspaceBrowseBtn, OlvProjectBrowseBtn,
       {textLabel1_3, textLabel1_3_2, ProjectEdit, WRProjectEdit, ProjectBrowseBtn,
        WRProjectBrowseBtn},
       {textLabel1_2, OlvNameEdit}},
      &browser, this);
  workspace = new WorkspaceChoice(
      {Page0OneProjectRadio, Page0WorkspaceRadio, Page0WorkspaceProjectsLabel,
       Page0WorkspaceProjectList},
      this);
  personalities = new Personalities({MsgPersonEdit, MsgBrowseBtn, AnalPersonEdit, AnalBrowseBtn,
                                     CmpPersonEdit, CmpBrowseBtn},
                                    &browser, this);
  extensions = new ExtensionChoice(
      {{{cppCheck, QLatin1String("cpp")}, {ccCheck, QLatin1String("cc")},
        {cxxCheck, QLatin1String("cxx")}, {cCheck, QLatin1String("c")},
        {hCheck, QLatin1String("h")}, {hhCheck, QLatin1String("hh")},
        {hppCheck, QLatin1String("hpp")}, {hxxCheck, QLatin1String("hxx")}},
       CustExtEdit},
      this);
  database = new CompilationDatabase({CdbCheck, CdbEdit, CdbBrowseBtn, OlvProjectEdit}, this,
                                     &browser);
  mode = new WorkbenchMode({WorkbenchBox, SpecCombo, TargetCombo, VariablesTable}, this);
  parts = {workspace, project, personalities, extensions, database, mode};
  pages = {{Page0, Page0StatusLabel, {project, workspace}},
           {Page1, Page1StatusLabel, {personalities}},
           {Page2, Page2StatusLabel, {extensions, database, mode}}};

  question = new ConverterQuestion([this] { return describeCommand(); },
                                   {ProjectStatusLabel, DescribeStatusLabel}, this);
  connect(question, &ConverterQuestion::asked, this, [this] { lastPathsPresent = pathsPresent(); });
  connect(question, &ConverterQuestion::answered, this, &Vaskel::takeAnswer);
  connect(question, &ConverterQuestion::noAnswer, this, &Vaskel::takeNoAnswer);
  for (const Page& page : pages) {
    for (WizardPart* part : page.parts) {
      connect(part, &WizardPart::changed, this, [this, page] { checkPage(page); });
      connect(part, &WizardPart::changed, question, &ConverterQuestion::schedule);
      connect(part, &WizardPart::checkDue, this, [this, page] { checkPage(page); });
    }
  }
  connect(workspace, &WorkspaceChoice::formChanged, this, [this](bool whole) {
    project->setWholeWorkspace(whole);
    mode->clear();  // its lists were about the other form of the question
  });

  conversion = new ConversionRun(this, {Page3, DetailsText, RunProgressBar, Page3StatusLabel});
  // A conversion run is what the settings are remembered by.
  connect(conversion, &ConversionRun::ended, this, [this] {
    RememberedSettings remembered;
    for (WizardPart* part : parts) part->save(remembered);
    settings.save(remembered);
  });

  for (auto which : {QWizard::NextButton, QWizard::BackButton, QWizard::CancelButton,
                     QWizard::FinishButton, QWizard::CustomButton1}) {
    QPalette palette(QColor(Qt::white), QColor(Qt::white));
    palette.setColor(QPalette::Window, QColor("white"));
    button(which)->setPalette(palette);
  }

  converterPath = locateConverter(QCoreApplication::applicationDirPath());
  checkPage(pages.constFirst());  // says why Next waits, from the start
  const RememberedSettings remembered = settings.load();
  for (WizardPart* part : parts) part->load(remembered);
}

QString Vaskel::locateConverter(const QString& folder) {
  const QString beside =
      QStandardPaths::findExecutable(QStringLiteral("Plovik"), QStringList{folder});
  return beside.isEmpty() ? QStringLiteral("Plovik") : beside;
}

void Vaskel::checkPage(const Page& page) {
  QString problem;
  for (WizardPart* part : page.parts) {
    part->check();
    if (problem.isEmpty()) problem = part->problem();
  }
  page.page->setComplete(problem.isEmpty());
  showStatus(page.status, problem);
}


QString Vaskel::pathsPresent() const {
  QString present;
  for (const WizardPart* part : parts) present += part->pathsPresent();
  return present;
}

void Vaskel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    // Only a page's paths change without a signal: files come and go.
    for (const Page& page : pages) {
      bool paths = false;
      for (const WizardPart* part : page.parts) paths = paths || !part->pathsPresent().isEmpty();
      if (paths) checkPage(page);
    }
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
  if (!project->canAsk()) return {};
  return {converterPath, conversionArguments(true)};
}

// The answer's form follows the first page's choice: a workspace's answer
// lists its projects, one project's names it and fills Page 2's lists.
void Vaskel::takeAnswer(const ProjectDescription& answer) {
  if (workspace->isOn()) {
    // An answer of the one-project form lists nothing.
    if (answer.isWorkspace())
      workspace->take(answer);
    else
      workspace->clear();
  } else {
    project->showName(answer.namedByProject(), answer.projectName);
    mode->take(answer);
  }
  checkPage(pages.constLast());
}

// What the lists and the name showed may be about other files.
void Vaskel::takeNoAnswer() {
  if (workspace->isOn()) workspace->clear();
  project->showName(false, QString());
  mode->clear();
  checkPage(pages.constLast());
}

QStringList Vaskel::conversionArguments(bool forDescribe) const {
  const CommandContext context{forDescribe, mode->isOn()};
  QStringList arguments;
  for (const WizardPart* part : parts) arguments += part->arguments(context);
  // The question lists every project; the run converts the ticked ones.
  if (workspace->isOn() && !forDescribe) arguments += workspace->selection();
  return arguments;
}

bool Vaskel::validateCurrentPage() {
  if (currentPage() == Page2) {
    extensions->fix();
    DetailsText->setPlainText(summary());
    Page3->setComplete(true);
    showStatus(Page3StatusLabel, QString());
  }
  return VaskelBase::validateCurrentPage();
}

QString Vaskel::summary() const {
  QString summary;
  for (const WizardPart* part : parts) summary += part->summary();
  return summary;
}

void Vaskel::accept() {
  const QStringList arguments = conversionArguments();
  Page3->setComplete(false);
  if (workspace->isOn()) {
    conversion->startWorkspace(converterPath, arguments, project->destination(),
                               workspace->projectFiles());
    return;
  }
  conversion->start(converterPath, arguments, project->destination(), project->name());
}

void Vaskel::reject() {
  question->cancel();
  conversion->stop();
  VaskelBase::reject();
}
