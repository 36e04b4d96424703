#include "wizard_test_support.h"

#include "vaskel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>

namespace {
// The children a test starts inherit every inheritable handle, and so would
// the console host Wine starts for each of them. Now and then Wine leaves
// the host of a killed child running for good; holding this program's own
// output, it kept ctest waiting for that output to end until the test timed
// out. The test's own output is not theirs to hold.
const bool ownOutputNotInherited = [] {
  for (const DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    const HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
      SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
  }
  return true;
}();

// Under Wine the offscreen platform knows only the fonts of one folder,
// without Arial, which the form asks for: Liberation Sans takes the same
// room. (Where Arial is installed, it is found first.)
const bool arialAsWide = [] {
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  return true;
}();
}  // namespace
#endif

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
  if (!wizard.converterProcess()) return false;
  // Connected after the wizard's own handler, so it fires once that is done.
  QSignalSpy ended(wizard.converterProcess(), &QProcess::finished);
  return ended.wait(timeoutMs);
}

QStringList logLines(const Vaskel& wizard) {
  return wizard.DetailsText->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

bool waitForAnswer(Vaskel& wizard, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (wizard.describing()) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(10);
  }
  return true;
}

QByteArray cannedJson(const CannedDescription& d) {
  const auto orNull = [](const QString& text) { return text.isEmpty() ? QJsonValue() : QJsonValue(text); };
  QJsonArray variables;
  for (qsizetype i = 0; i + 2 < d.variables.size(); i += 3) {
    variables.append(QJsonObject{{"name", d.variables[i]},
                                 {"value", orNull(d.variables[i + 1])},
                                 {"source", d.variables[i + 2]}});
  }
  const QJsonObject root{
      {"version", 1},
      {"mode", d.mode},
      {"project", QJsonObject{{"name", d.name}, {"from", d.from}}},
      {"buildSpecs", QJsonObject{{"known", QJsonArray::fromStringList(d.specs)},
                                 {"default", orNull(d.defaultSpec)},
                                 {"chosen", QJsonValue()}}},
      {"buildTargets", QJsonObject{{"known", QJsonArray::fromStringList(d.targets)},
                                   {"chosen", QJsonValue()}}},
      {"referencedProjects", QJsonArray()},
      {"variables", variables},
      {"groups", QJsonArray()},
      {"includePaths", 0},
      {"macros", 0},
      {"warnings", QJsonArray()},
      {"failure", orNull(d.failure)}};
  return QJsonDocument(root).toJson();
}

void answerWith(const WorkingFolder& folder, const CannedDescription& description) {
  qputenv("STANDIN_DESCRIBE",
          folder.writeFile(QStringLiteral("describe.json"), cannedJson(description)).toLocal8Bit());
}

namespace {

QStringList linesOf(const WorkingFolder& folder, const QString& name) {
  QString text = QString::fromLocal8Bit(folder.readFile(name));
  text.chop(1);  // the last line's end
  return text.split(u'\n');
}

}  // namespace

QStringList describedArguments(const WorkingFolder& folder) {
  return linesOf(folder, QStringLiteral("describe_arguments.txt"));
}

QStringList recordedArguments(const WorkingFolder& folder) {
  return linesOf(folder, QStringLiteral("arguments.txt"));
}

QStringList comboItems(const QComboBox* combo, int from) {
  QStringList items;
  for (int i = from; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

QStringList filesUnder(const QString& folder) {
  QStringList files;
  for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
    files << QDir(folder).relativeFilePath(it.next());
  files.sort();
  return files;
}
