// The two ways the first page takes a project: a .project path in its field
// (typed or browsed) fills the path fields the user left empty, and a project
// dropped anywhere on the page is taken as if browsed. The project's name
// comes from the converter's answer: a name the .project gives is the one
// the conversion uses, so the field then shows it and cannot be edited.
#include "vaskel_project.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "vaskel.h"

QString projectFileFor(const QString& droppedPath) {
  const QFileInfo dropped(droppedPath);
  if (dropped.isFile()) return dropped.fileName().endsWith(u".project") ? droppedPath : QString();
  if (dropped.isDir()) {
    const QString inside = QDir(droppedPath).filePath(QStringLiteral(".project"));
    if (QFileInfo(inside).isFile()) return inside;
  }
  return QString();
}

void Vaskel::ProjectEdit_textchanged(const QString& text) {
  if (text.isEmpty() || !QFileInfo(text).isFile()) return;
  // Derived from the path as it stands, so a relative project path gives a
  // relative workspace, which the converter then uses as typed.
  const QString folder = QFileInfo(text).path();
  const QString wrProject = QDir::cleanPath(folder + QStringLiteral("/.wrproject"));
  fillFromProject(WRProjectEdit,
                  QFileInfo(wrProject).isFile() ? QDir::toNativeSeparators(wrProject) : QString());
  fillFromProject(WRWorkspaceDirEdit,
                  QFileInfo(folder).isRoot()
                      ? QString()
                      : QDir::toNativeSeparators(QDir::cleanPath(folder + QStringLiteral("/.."))));
}

// A field takes the project's value when it is empty or still holds what an
// earlier project put there; anything else the user typed stays.
void Vaskel::fillFromProject(QLineEdit* field, const QString& value) {
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

QString Vaskel::droppedProject(const QMimeData* data) {
  if (!data || !data->hasUrls()) return QString();
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString project = projectFileFor(url.toLocalFile());
    if (!project.isEmpty()) return project;
  }
  return QString();
}

bool Vaskel::page0DragEvent(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);  // the base of the enter and move events
  const QString project = droppedProject(drop->mimeData());
  if (project.isEmpty()) return false;  // a field still takes dropped text
  drop->acceptProposedAction();
  if (event->type() == QEvent::Drop) {
    const QString native = QDir::toNativeSeparators(project);
    lastPath = native;
    if (ProjectEdit->text() == native)
      ProjectEdit_textchanged(native);  // no text change, so fill by hand
    else
      ProjectEdit->setText(native);
  }
  return true;
}

void Vaskel::fillName(bool namedByProject, const QString& name) {
  if (namedByProject) {
    if (!nameFromProject) typedName = OlvNameEdit->text();
    nameFromProject = true;
    OlvNameEdit->setText(name);
  } else if (nameFromProject) {
    nameFromProject = false;
    OlvNameEdit->setText(typedName);  // what the user had typed comes back
  }
  OlvNameEdit->setReadOnly(nameFromProject);
  NameNoteLabel->setVisible(nameFromProject);
  // A field that cannot be edited looks it.
  QPalette palette = OlvNameEdit->palette();
  palette.setColor(QPalette::Base, nameFromProject ? QColor(240, 240, 240)
                                                   : QApplication::palette().color(QPalette::Base));
  OlvNameEdit->setPalette(palette);
}
