// Asking the converter what it would make of a project: `Plovik ... -describe`
// run as a child process, its JSON answer read into a ProjectDescription.
// The wizard fills its lists from the answer instead of reading the
// project's files itself, so it offers exactly what the converter accepts.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <optional>

struct DescribedVariable {
  QString name;
  QString value;  // the whole expansion; empty when unresolved
  QString source;  // "-var", "build macro", "Workbench", "environment" or "unresolved"
  bool resolved() const { return source != QLatin1String("unresolved"); }
};

struct ProjectDescription {
  QString mode;  // "default" or "real-project"
  QString projectName;
  QString nameFrom;  // ".project", "-pn" or "none"
  QStringList knownSpecs;
  QString defaultSpec;  // empty when the project names none
  QString chosenSpec;   // empty when the conversion reads every build spec
  QStringList knownTargets;
  QList<DescribedVariable> variables;
  QStringList warnings;
  QString failure;  // the line the conversion would fail with; empty when it would not

  bool namedByProject() const { return nameFrom == QLatin1String(".project"); }
  // Only the real-project mode expands variables, and so lists them.
  bool expandsVariables() const { return mode == QLatin1String("real-project"); }
};

// Reads the converter's answer; nullopt with `error` set when it is no
// description this wizard understands (not JSON, another format version).
std::optional<ProjectDescription> parseDescription(const QByteArray& answer, QString* error);

// One question at a time: a new ask() ends the run still under way (its
// answer would describe inputs that are no longer chosen), and a run that
// does not answer within `timeoutMs` is ended and reported. Nothing here
// waits: every result arrives as a signal on the caller's thread.
class DescribeRun : public QObject {
  Q_OBJECT

 public:
  explicit DescribeRun(QObject* parent = nullptr);
  ~DescribeRun() override;

  // Starts `program arguments -describe`.
  void ask(const QString& program, const QStringList& arguments);
  // Ends the run under way, if any, without a report.
  void cancel();
  bool running() const { return process != nullptr; }
  // The process of the run under way, for tests.
  QProcess* currentProcess() const { return process; }

  int timeoutMs = 15000;

 signals:
  void answered(const ProjectDescription& description);
  // The converter gave no description: it could not be started, took too
  // long, ended abnormally or answered something else. `why` is for the user.
  void noAnswer(const QString& why);

 private:
  void finished(int exitCode, QProcess::ExitStatus status);
  void failedToStart(QProcess::ProcessError error);
  void timedOut();
  // Ends the process without waiting for it; it deletes itself once gone.
  void abandon();

  QProcess* process = nullptr;
  QByteArray output;
  QTimer deadline;
};
