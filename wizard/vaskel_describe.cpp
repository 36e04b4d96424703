#include "vaskel_describe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QStringList strings(const QJsonValue& value) {
  QStringList list;
  for (const QJsonValue& item : value.toArray()) list << item.toString();
  return list;
}

// The first line of what the converter printed, for a report of an answer
// that is no description (an error line, a usage text).
QString firstLine(const QByteArray& output) {
  const qsizetype end = output.indexOf('\n');
  return QString::fromLocal8Bit(end < 0 ? output : output.left(end)).trimmed();
}

}  // namespace

std::optional<ProjectDescription> parseDescription(const QByteArray& answer, QString* error) {
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(answer, &parseError);
  if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
    *error = QObject::tr("Plovik gave no description");
    const QString line = firstLine(answer);
    if (!line.isEmpty()) *error += QStringLiteral(": ") + line;
    return std::nullopt;
  }
  const QJsonObject root = document.object();
  const QJsonValue version = root.value(QLatin1String("version"));
  if (version.toInt(-1) != 1) {
    *error = QObject::tr("Plovik described the project in a format this Vaskel does not know "
                         "(version %1)")
                 .arg(version.isDouble() ? QString::number(version.toDouble()) : QStringLiteral("?"));
    return std::nullopt;
  }

  ProjectDescription description;
  description.mode = root.value(QLatin1String("mode")).toString();
  const QJsonObject project = root.value(QLatin1String("project")).toObject();
  description.projectName = project.value(QLatin1String("name")).toString();
  description.nameFrom = project.value(QLatin1String("from")).toString(QStringLiteral("none"));

  const QJsonObject specs = root.value(QLatin1String("buildSpecs")).toObject();
  description.knownSpecs = strings(specs.value(QLatin1String("known")));
  description.defaultSpec = specs.value(QLatin1String("default")).toString();
  description.chosenSpec = specs.value(QLatin1String("chosen")).toString();

  const QJsonObject targets = root.value(QLatin1String("buildTargets")).toObject();
  description.knownTargets = strings(targets.value(QLatin1String("known")));

  for (const QJsonValue& item : root.value(QLatin1String("variables")).toArray()) {
    const QJsonObject variable = item.toObject();
    description.variables.append({variable.value(QLatin1String("name")).toString(),
                                  variable.value(QLatin1String("value")).toString(),
                                  variable.value(QLatin1String("source")).toString()});
  }
  description.warnings = strings(root.value(QLatin1String("warnings")));
  description.failure = root.value(QLatin1String("failure")).toString();
  return description;
}

DescribeRun::DescribeRun(QObject* parent) : QObject(parent) {
  deadline.setSingleShot(true);
  connect(&deadline, &QTimer::timeout, this, &DescribeRun::timedOut);
}

DescribeRun::~DescribeRun() { abandon(); }

void DescribeRun::ask(const QString& program, const QStringList& arguments) {
  abandon();
  output.clear();
  process = new QProcess(this);
  connect(process, &QProcess::readyReadStandardOutput, this,
          [this] { output += process->readAllStandardOutput(); });
  connect(process, &QProcess::finished, this, &DescribeRun::finished);
  connect(process, &QProcess::errorOccurred, this, &DescribeRun::failedToStart);
  deadline.start(timeoutMs);
  process->start(program, arguments + QStringList{QStringLiteral("-describe")});
}

void DescribeRun::cancel() { abandon(); }

void DescribeRun::abandon() {
  deadline.stop();
  if (!process) return;
  QProcess* gone = std::exchange(process, nullptr);
  disconnect(gone, nullptr, this, nullptr);
  if (gone->state() == QProcess::NotRunning) {
    gone->deleteLater();
    return;
  }
  // Deleting a running QProcess waits for it to end; the window must not.
  gone->setParent(nullptr);
  connect(gone, &QProcess::finished, gone, &QObject::deleteLater);
  gone->kill();
}

void DescribeRun::finished(int exitCode, QProcess::ExitStatus status) {
  output += process->readAllStandardOutput();
  abandon();
  if (status != QProcess::NormalExit) {
    emit noAnswer(tr("Plovik ended abnormally while reading the project"));
    return;
  }
  QString error;
  std::optional<ProjectDescription> description = parseDescription(output, &error);
  if (!description) {
    emit noAnswer(error);
    return;
  }
  // A conversion that would fail says so in the answer; an exit status of 1
  // without a failure named means the answer was cut short.
  if (exitCode != 0 && description->failure.isEmpty())
    description->failure = tr("Plovik ended with exit status %1").arg(exitCode);
  emit answered(*description);
}

void DescribeRun::failedToStart(QProcess::ProcessError error) {
  if (error != QProcess::FailedToStart) return;
  abandon();
  emit noAnswer(tr("Plovik could not be asked about the project: Please ensure Plovik.exe is "
                   "set on the path."));
}

void DescribeRun::timedOut() {
  abandon();
  emit noAnswer(tr("Plovik did not answer within %1 seconds; it was stopped")
                    .arg(QString::number(timeoutMs / 1000.0)));
}
