#include "vaskel_project.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "vaskel_browse.h"
#include "vaskel_converter_options.h"
#include "vaskel_status.h"

namespace {

QString droppedProject(const QMimeData* data) {
  if (!data || !data->hasUrls()) return QString();
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString project = projectFileFor(url.toLocalFile());
    if (!project.isEmpty()) return project;
  }
  return QString();
}

bool isInside(const QString& file, const QString& folder) {
  const QString canonicalFile = QFileInfo(file).canonicalFilePath();
  const QString canonicalFolder = QDir(folder).canonicalPath();
  if (canonicalFile.isEmpty() || canonicalFolder.isEmpty()) return true;  // nothing to offer
#ifdef Q_OS_WIN
  const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
  const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
  const QString prefix = canonicalFolder.endsWith(u'/') ? canonicalFolder : canonicalFolder + u'/';
  return canonicalFile.startsWith(prefix, cs);
}

}  // namespace

QString projectFileFor(const QString& droppedPath) {
  const QFileInfo dropped(droppedPath);
  if (dropped.isFile()) return dropped.fileName().endsWith(u".project") ? droppedPath : QString();
  if (dropped.isDir()) {
    const QString inside = QDir(droppedPath).filePath(QStringLiteral(".project"));
    if (QFileInfo(inside).isFile()) return inside;
  }
  return QString();
}

ProjectChoice::ProjectChoice(const Widgets& widgets, PathBrowser* pathBrowser, QObject* parent)
    : WizardPart(parent),
      w(widgets),
      browser(pathBrowser),
      paths{{w.project, tr("The .project file"), true},
            {w.wrProject, tr("The .wrproject file"), true},
            {w.workspace, tr("The workspace folder"), false},
            {w.destination, tr("The output folder"), false}} {
  for (QLineEdit* field : fields()) {
    connect(field, &QLineEdit::textChanged, this, &WizardPart::changed);
    field->installEventFilter(this);
  }
  // After the page's check, which the fields it fills then run again.
  connect(w.project, &QLineEdit::textChanged, this, &ProjectChoice::projectChanged);
  // A project dropped anywhere on the page: the page takes what its labels
  // and boxes do not, and the filter sees it before a field would.
  w.page->setAcceptDrops(true);
  w.page->installEventFilter(this);
  connect(w.useOffer, &QPushButton::clicked, this, &ProjectChoice::useOffer);
  w.nameNote->hide();

  const auto browseFile = [this](QLineEdit* field, const QString& filter) {
    browser->chooseFile(field, tr("Select a WindRiver Project"), filter);
  };
  connect(w.projectBrowse, &QPushButton::clicked, this,
          [=, this] { browseFile(w.project, tr("Projects (*.project)")); });
  connect(w.wrProjectBrowse, &QPushButton::clicked, this,
          [=, this] { browseFile(w.wrProject, tr("WR Projects (*.wrproject)")); });
  connect(w.workspaceBrowse, &QPushButton::clicked, this, [this] {
    browser->chooseFolder(w.workspace, tr("Specify the WindRiver Workspace Directory"));
  });
  connect(w.destinationBrowse, &QPushButton::clicked, this, [this] {
    browser->chooseFolder(w.destination,
                          tr("Select the Olvex/Olvex++ Project Destination Directory"));
  });
}

QList<QLineEdit*> ProjectChoice::fields() const {
  QList<QLineEdit*> fields;
  for (const PathField& path : paths) fields << path.edit;
  return fields << w.name;
}

bool ProjectChoice::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const bool onPage = watched == w.page || fields().contains(qobject_cast<QLineEdit*>(watched));
  if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
    if (onPage && takeDrag(event)) return true;
  }
  // Checking on every key release, even one that changed nothing, also
  // notices a file that appeared or vanished since the last edit.
  if (type == QEvent::KeyRelease && onPage && watched != w.page) emit checkDue();
  return WizardPart::eventFilter(watched, event);
}

void ProjectChoice::setWholeWorkspace(bool whole) {
  wholeWorkspace = whole;
  for (QWidget* widget : w.hiddenForWorkspace) widget->setVisible(!whole);
  for (QWidget* widget : w.disabledForWorkspace) widget->setEnabled(!whole);
  // What the last answer said was about the other form of the question.
  if (whole) showName(false, QString());
}

bool ProjectChoice::canAsk() const {
  // Nothing to ask until the project's files and the workspace are named;
  // the whole workspace needs the output folder instead of the files.
  for (const PathField& path : paths) {
    const bool needed = wholeWorkspace ? !path.oneProjectOnly : path.edit != w.destination;
    if (needed && path.edit->text().isEmpty()) return false;
  }
  return true;
}

QString ProjectChoice::destination() const { return w.destination->text(); }

QString ProjectChoice::name() const { return w.name->text(); }

void ProjectChoice::check() {
  for (const PathField& path : paths) colourPath(path.edit);
  if (!wholeWorkspace) {
    offerWorkspaces();
    return;
  }
  // The offer is about the one project's .project, not asked for now.
  for (QWidget* widget : QList<QWidget*>{w.offerLabel, w.offers, w.useOffer}) widget->hide();
}

QString ProjectChoice::problem() const {
  for (const PathField& path : paths) {
    if (wholeWorkspace && path.oneProjectOnly) continue;
    const QString problem = missingPath(path.what, path.edit->text());
    if (!problem.isEmpty()) return problem;
  }
  if (wholeWorkspace) return QString();  // each project is named by its own .project
  const QString name = w.name->text();
  if (name.isEmpty()) return tr("The project needs a name.");
  return namedByProject ? clashWithOption(tr("The .project file names the project"), name,
                                          tr("rename the project in Workbench."))
                        : clashWithOption(tr("The name"), name, tr("choose another name."));
}

QStringList ProjectChoice::arguments(const CommandContext& context) const {
  QStringList arguments;
  if (wholeWorkspace) {
    arguments << optionName(ConverterOption::Workspace) << w.workspace->text()
              << w.destination->text();
    if (!context.realProjectMode) arguments << optionName(ConverterOption::RealProject);
    return arguments;
  }
  for (const PathField& path : paths) arguments << path.edit->text();
  return arguments << optionName(ConverterOption::ProjectName) << w.name->text();
}

// The whole workspace's projects are listed by their own part, before these lines.
QString ProjectChoice::summary() const {
  const QString projects = wholeWorkspace ? QString()
                                          : QStringLiteral("WindRiver Project(s):\n") +
                                                w.project->text() + u'\n' + w.wrProject->text() +
                                                QStringLiteral("\n\n");
  return projects + QStringLiteral("WindRiver Workspace:\n") + w.workspace->text() +
         QStringLiteral("\n\nOlvex / Olvex++ Project Directory:\n") + w.destination->text() +
         QStringLiteral("\n\nOlvex / Olvex++ Project Name:\n") +
         (wholeWorkspace ? QString() : w.name->text()) + QStringLiteral("\n\n");
}

QString ProjectChoice::pathsPresent() const {
  QString present;
  for (const PathField& path : paths) present += QFileInfo::exists(path.edit->text()) ? u'1' : u'0';
  return present;
}

// Set as typed, so the page's check runs and a path that is gone shows red.
void ProjectChoice::load(const RememberedSettings& remembered) {
  if (remembered.workspace) w.workspace->setText(*remembered.workspace);
  if (remembered.destination) w.destination->setText(*remembered.destination);
}

void ProjectChoice::save(RememberedSettings& remembered) {
  remembered.workspace = w.workspace->text();
  remembered.destination = w.destination->text();
}

void ProjectChoice::projectChanged(const QString& text) {
  if (text.isEmpty() || !QFileInfo(text).isFile()) return;
  // Derived from the path as it stands, so a relative project path gives a
  // relative workspace, which the converter then uses as typed.
  const QString folder = QFileInfo(text).path();
  const QString wrProject = QDir::cleanPath(folder + QStringLiteral("/.wrproject"));
  fillFromProject(w.wrProject,
                  QFileInfo(wrProject).isFile() ? QDir::toNativeSeparators(wrProject) : QString());
  fillFromProject(w.workspace,
                  QFileInfo(folder).isRoot()
                      ? QString()
                      : QDir::toNativeSeparators(QDir::cleanPath(folder + QStringLiteral("/.."))));
}

// A field takes the project's value when it is empty or still holds what an
// earlier project put there; anything else the user typed stays.
void ProjectChoice::fillFromProject(QLineEdit* field, const QString& value) {
  const auto earlier = filledFromProject.constFind(field);
  const bool ours = earlier != filledFromProject.cend() && *earlier == field->text();
  if (!field->text().isEmpty() && !ours) return;
  if (value.isEmpty()) {
    filledFromProject.remove(field);
    if (ours) field->clear();  // the earlier project's value would mislead
    return;
  }
  filledFromProject.insert(field, value);
  field->setText(value);
}

bool ProjectChoice::takeDrag(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);  // the base of the enter and move events
  const QString project = droppedProject(drop->mimeData());
  if (project.isEmpty()) return false;  // a field still takes dropped text
  drop->acceptProposedAction();
  if (event->type() == QEvent::Drop) {
    const QString native = QDir::toNativeSeparators(project);
    browser->lastPath = native;
    if (w.project->text() == native)
      projectChanged(native);  // no text change, so fill by hand
    else
      w.project->setText(native);
  }
  return true;
}

void ProjectChoice::showName(bool byProject, const QString& name) {
  if (byProject) {
    if (!namedByProject) typedName = w.name->text();
    namedByProject = true;
    w.name->setText(name);
  } else if (namedByProject) {
    namedByProject = false;
    w.name->setText(typedName);  // what the user had typed comes back
  }
  w.name->setReadOnly(namedByProject);
  w.nameNote->setVisible(namedByProject);
  // A field that cannot be edited looks it.
  QPalette palette = w.name->palette();
  palette.setColor(QPalette::Base, namedByProject ? QColor(240, 240, 240)
                                                  : QApplication::palette().color(QPalette::Base));
  w.name->setPalette(palette);
}

// A .project outside the workspace folder converts against the wrong
// workspace: every sub-project would be "not found". The folders above the
// project are the likely workspaces.
void ProjectChoice::offerWorkspaces() {
  const QString project = w.project->text();
  const QString workspace = w.workspace->text();
  QStringList offers;
  if (QFileInfo(project).isFile() && QFileInfo(workspace).isDir() && !isInside(project, workspace)) {
    QDir folder = QFileInfo(project).absoluteDir();
    while (folder.cdUp() && !folder.isRoot())
      offers << QDir::toNativeSeparators(folder.absolutePath());
  }
  QStringList shown;
  for (int i = 0; i < w.offers->count(); ++i) shown << w.offers->itemText(i);
  if (shown != offers) {
    w.offers->clear();
    w.offers->addItems(offers);
  }
  const QList<QWidget*> offer{w.offerLabel, w.offers, w.useOffer};
  for (QWidget* widget : offer) widget->setVisible(!offers.isEmpty());
}

void ProjectChoice::useOffer() {
  if (w.offers->currentIndex() < 0) return;
  filledFromProject.remove(w.workspace);  // the user's choice now
  w.workspace->setText(w.offers->currentText());
}
