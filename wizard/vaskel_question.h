// Asking the converter what it would make of the chosen inputs: `Plovik
// ARGUMENTS -describe` runs as a child process once the inputs have been
// still for a moment, and its answer is read into a ProjectDescription. One
// question at a time: a newer one ends a run still under way, whose answer
// would be about inputs no longer chosen, and a run that does not answer in
// time is stopped and reported. Nothing here waits: results arrive as
// signals on the caller's thread. The status lines it is given say while an
// answer is awaited, and when the converter refuses or does not answer.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>

#include "vaskel_describe.h"

class QLabel;

class ConverterQuestion : public QObject {
  Q_OBJECT

 public:
  // The program and the arguments that go before -describe. A question
  // without a program is none: there is nothing to ask about yet.
  struct Command {
    QString program;
    QStringList arguments;
    bool operator==(const Command&) const = default;
  };

  // `command` says what to ask, read whenever a question is scheduled and
  // when it goes out; another -describe form is another command.
  ConverterQuestion(std::function<Command()> command, QList<QLabel*> statusLabels,
                    QObject* parent = nullptr);
  ~ConverterQuestion() override;

  // The inputs may have changed: asks once they have been still for
  // `delayMs`, unless the question is the one asked last.
  void schedule();
  // Asks again even what was asked last, once the inputs are still: the
  // files the answer was about may have come or gone.
  void askAgain();
  // Asks now, ending the run under way, if any.
  void ask();
  // Ends the question waiting or under way, without a report.
  void cancel();

  // True while a question waits for its moment or its answer.
  bool pending() const { return delay.isActive() || running(); }
  bool running() const { return process != nullptr; }
  // The process of the run under way, for tests.
  QProcess* currentProcess() const { return process; }
  // The latest answer, unless the latest question got none.
  const std::optional<ProjectDescription>& answer() const { return latest; }

  // Long enough to read a large workspace, short enough to notice a
  // converter stuck on a file that never ends (a FIFO, a share that went away).
  int timeoutMs = 15000;
  // Typing a path asks once, when the typing pauses.
  int delayMs = 300;

 signals:
  // The question goes out now.
  void asked();
  void answered(const ProjectDescription& description);
  // The converter gave no description: it could not be started, took too
  // long, ended abnormally or answered something else. `why` is for the user.
  void noAnswer(const QString& why);

 private:
  void finished(int exitCode, QProcess::ExitStatus status);
  void failedToStart(QProcess::ProcessError error);
  void timedOut();
  void report(const QString& why);
  // Ends the process without waiting for it; it deletes itself once gone.
  void abandon();
  void showStatus(const QString& text, bool problem);

  std::function<Command()> command;
  QList<QLabel*> statusLabels;
  QTimer delay;
  QTimer deadline;
  // What the latest question asked (none: nothing asked, or forgotten).
  Command askedCommand;
  QProcess* process = nullptr;
  QByteArray output;
  std::optional<ProjectDescription> latest;
};
