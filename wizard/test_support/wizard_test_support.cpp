#include "wizard_test_support.h"

#include "vaskel.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QSignalSpy>
#include <cstdlib>
#include <stdexcept>

WorkingFolder::WorkingFolder() : previous(QDir::currentPath()) {
  if (!dir.isValid() || !QDir::setCurrent(dir.path()))
    throw std::runtime_error("cannot make a temporary working folder");
}

WorkingFolder::~WorkingFolder() { QDir::setCurrent(previous); }

QString WorkingFolder::writeFile(const QString& name, const QByteArray& content) const {
  const QString path = dir.filePath(name);
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
    throw std::runtime_error("cannot write " + path.toStdString());
  return path;
}

QString WorkingFolder::makeFolder(const QString& name) const {
  const QString path = dir.filePath(name);
  if (!QDir().mkpath(path)) throw std::runtime_error("cannot create " + path.toStdString());
  return path;
}

QByteArray WorkingFolder::readFile(const QString& name) const {
  QFile file(dir.filePath(name));
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  QByteArray content = file.readAll();
  if (content.isNull()) content = QByteArray("");  // exists but empty
  return content;
}

QString requiredEnvironment(const char* name) {
  const QByteArray value = qgetenv(name);
  if (value.isEmpty()) {
    const std::string message = std::string(name) + " is not set; run the test through ctest";
    qWarning("%s", message.c_str());
    throw std::runtime_error(message);
  }
  return QString::fromLocal8Bit(value);
}

Page0Paths makePage0Paths(const WorkingFolder& folder) {
  return {folder.writeFile(QStringLiteral("ws/App/.project")),
          folder.writeFile(QStringLiteral("ws/App/.wrproject")),
          folder.makeFolder(QStringLiteral("ws")), folder.makeFolder(QStringLiteral("out"))};
}

void fillPage0(Vaskel& wizard, const Page0Paths& paths, const QString& name) {
  wizard.ProjectEdit->setText(paths.project);
  wizard.WRProjectEdit->setText(paths.wrProject);
  wizard.WRWorkspaceDirEdit->setText(paths.workspace);
  wizard.OlvProjectEdit->setText(paths.output);
  wizard.OlvNameEdit->setText(name);
}

bool clickNext(Vaskel& wizard) {
  QAbstractButton* next = wizard.button(QWizard::NextButton);
  if (!next->isEnabled()) return false;
  next->click();
  return true;
}

bool goToPage3(Vaskel& wizard) {
  for (int i = 0; i < 3; ++i) {
    if (!clickNext(wizard)) return false;
  }
  return wizard.currentPage() == wizard.Page3;
}

bool finishAndWait(Vaskel& wizard, int timeoutMs) {
  QAbstractButton* finish = wizard.button(QWizard::FinishButton);
  if (!finish->isEnabled()) return false;
  finish->click();
  if (!wizard.converterProcess) return false;
  // Connected after the wizard's own handler, so it fires once that is done.
  QSignalSpy ended(wizard.converterProcess, &QProcess::finished);
  return ended.wait(timeoutMs);
}

QStringList logLines(const Vaskel& wizard) {
  return wizard.DetailsText->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}
