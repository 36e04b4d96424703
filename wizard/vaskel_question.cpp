#include "vaskel_question.h"

#include <QLabel>
#include <algorithm>
#include <utility>

#include "vaskel_converter_options.h"
#include "vaskel_status.h"

ConverterQuestion::ConverterQuestion(std::function<Command()> whatToAsk, QList<QLabel*> labels,
                                     QObject* parent)
    : QObject(parent), command(std::move(whatToAsk)), statusLabels(std::move(labels)) {
  delay.setSingleShot(true);
  connect(&delay, &QTimer::timeout, this, &ConverterQuestion::ask);
  deadline.setSingleShot(true);
  connect(&deadline, &QTimer::timeout, this, &ConverterQuestion::timedOut);
}

ConverterQuestion::~ConverterQuestion() { abandon(); }

void ConverterQuestion::schedule() {
  const Command wanted = command();
  if (wanted.program.isEmpty()) {
    cancel();
    showStatus(QString(), false);
    return;
  }
  if (!delay.isActive() && wanted == askedCommand) return;
  cancel();
  showStatus(tr("Asking Plovik about the project ..."), false);
  delay.start(delayMs);
}

void ConverterQuestion::askAgain() {
  askedCommand = {};
  schedule();
}

void ConverterQuestion::ask() {
  abandon();
  askedCommand = command();
  if (askedCommand.program.isEmpty()) return;
  emit asked();
  output.clear();
  process = new QProcess(this);
  connect(process, &QProcess::readyReadStandardOutput, this,
          [this] { output += process->readAllStandardOutput(); });
  connect(process, &QProcess::finished, this, &ConverterQuestion::finished);
  connect(process, &QProcess::errorOccurred, this, &ConverterQuestion::failedToStart);
  deadline.start(timeoutMs);
  process->start(askedCommand.program,
                 askedCommand.arguments + QStringList{optionName(ConverterOption::Describe)});
}

void ConverterQuestion::cancel() {
  delay.stop();
  abandon();
  askedCommand = {};
}

void ConverterQuestion::abandon() {
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

void ConverterQuestion::finished(int exitCode, QProcess::ExitStatus status) {
  output += process->readAllStandardOutput();
  abandon();
  if (status != QProcess::NormalExit) {
    report(tr("Plovik ended abnormally while reading the project"));
    return;
  }
  QString error;
  std::optional<ProjectDescription> description = parseDescription(output, &error);
  if (!description) {
    report(error);
    return;
  }
  // A conversion that would fail says so in the answer; an exit status of 1
  // without a failure named means the answer was cut short.
  // A workspace's answer ends with 1 when a project's run would fail; that
  // project's failure shows beside it in the list.
  const bool projectFails = std::any_of(description->projects.cbegin(), description->projects.cend(),
                                        [](const WorkspaceMember& member) { return !member.failure.isEmpty(); });
  if (exitCode != 0 && description->failure.isEmpty() && !projectFails)
    description->failure = tr("Plovik ended with exit status %1").arg(exitCode);
  latest = description;
  emit answered(*description);
  // The converter's own message, as it would end a conversion.
  showStatus(description->failure, !description->failure.isEmpty());
  // What the answer filled in may have changed the question.
  schedule();
}

void ConverterQuestion::failedToStart(QProcess::ProcessError error) {
  if (error != QProcess::FailedToStart) return;
  abandon();
  report(tr("Plovik could not be asked about the project: Please ensure Plovik.exe is set on "
            "the path."));
}

void ConverterQuestion::timedOut() {
  abandon();
  report(tr("Plovik did not answer within %1 seconds; it was stopped")
             .arg(QString::number(timeoutMs / 1000.0)));
}

// What an earlier answer said may be about other files: it goes.
void ConverterQuestion::report(const QString& why) {
  latest.reset();
  emit noAnswer(why);
  showStatus(why, true);
}

void ConverterQuestion::showStatus(const QString& text, bool problem) {
  for (QLabel* label : statusLabels) ::showStatus(label, text, problem);
}
