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

ProjectChoice::ProjectChoice(const Widgets& widgets, const QList<QLineEdit*>& targets,
                             QObject* parent)
    : QObject(parent), w(widgets), dropTargets(targets) {
  // A project dropped anywhere on the page: the page takes what its labels
  // and boxes do not, and the filter sees it before a field would.
  w.page->setAcceptDrops(true);
  w.page->installEventFilter(this);
  for (QLineEdit* field : dropTargets) field->installEventFilter(this);
  connect(w.useOffer, &QPushButton::clicked, this, &ProjectChoice::useOffer);
  w.nameNote->hide();
}

bool ProjectChoice::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
    const bool onPage =
        watched == w.page || dropTargets.contains(qobject_cast<QLineEdit*>(watched));
    if (onPage && takeDrag(event)) return true;
  }
  return QObject::eventFilter(watched, event);
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
    emit dropped(native);
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
