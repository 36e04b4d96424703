// Reading the project's own files, and the two ways the first page takes a
// project from them: a .project path in its field (typed or browsed) fills the
// fields the user left empty, and a project dropped anywhere on the page is
// taken as if browsed.
#include "vaskel_project.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSet>
#include <QUrl>
#include <QXmlStreamReader>

#include "vaskel.h"

namespace {

const QString kDefaultSpecKey = QStringLiteral("BLD::Info|defaultSpec");
const QString kSpecListKey = QStringLiteral("BLD::Info|specs");

}  // namespace

QString readProjectName(const QString& projectFile) {
  QFile file(projectFile);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement() || xml.name() != u"projectDescription") return QString();
  while (xml.readNextStartElement()) {
    if (xml.name() == u"name")
      return xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
    xml.skipCurrentElement();  // <name> elements further down name other things
  }
  return QString();
}

BuildSpecs readBuildSpecs(const QString& wrProjectFile) {
  BuildSpecs specs;
  QFile file(wrProjectFile);
  if (!file.open(QIODevice::ReadOnly)) return specs;
  QXmlStreamReader xml(&file);
  QSet<QString> seen;
  int depth = 0;
  int listDepth = -1;  // the build spec list's depth while inside it
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::EndElement) {
      if (depth == listDepth) listDepth = -1;
      --depth;
      continue;
    }
    if (token != QXmlStreamReader::StartElement) continue;
    ++depth;
    const QXmlStreamAttributes attributes = xml.attributes();
    const QStringView key = attributes.value(QLatin1String("key"));
    if (xml.name() == u"listAttribute" && key == kSpecListKey) {
      listDepth = depth;
    } else if (xml.name() == u"stringAttribute") {
      const QString value = attributes.value(QLatin1String("value")).toString();
      if (listDepth >= 0 && depth == listDepth + 1) {
        if (!value.isEmpty() && !seen.contains(value)) {
          seen.insert(value);
          specs.names << value;
        }
      } else if (key == kDefaultSpecKey) {
        specs.defaultName = value;
      }
    }
  }
  // A fault in the markup ends the loop: what was read before it stands.
  return specs;
}

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
  fillFromProject(OlvNameEdit, readProjectName(text));
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
