// Helpers for the wizard's Qt tests.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>

// A fresh temporary folder that is the current directory for its lifetime,
// since the wizard reads and writes "settings.txt" there.
class WorkingFolder {
 public:
  WorkingFolder();
  ~WorkingFolder();
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

  QString path() const { return dir.path(); }
  QString filePath(const QString& name) const { return dir.filePath(name); }
  // Creates the file (and its folders) with the given bytes; returns its path.
  QString writeFile(const QString& name, const QByteArray& content = {}) const;
  QString makeFolder(const QString& name) const;
  // The file's bytes, or a null array when it does not exist.
  QByteArray readFile(const QString& name) const;

 private:
  QString previous;
  QTemporaryDir dir;
};

// Watches for modal windows of type T (message boxes, file dialogs), which
// block the code that opened them, and hands each new one to a handler. A
// window the handler leaves open is closed, so a test fails instead of
// waiting for ever; forced() counts those.
template <typename T>
class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<void(T*)> handle) : handler(std::move(handle)) {
    QObject::connect(&timer, &QTimer::timeout, [this] { poll(); });
    timer.start(20);
  }
  int seen() const { return count; }
  int forced() const { return leftOpen; }

 private:
  void poll() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      T* window = qobject_cast<T*>(widget);
      if (!window || !window->isVisible() || handled.contains(window)) continue;
      handled.append(window);
      ++count;
      handler(window);
      if (window && window->isVisible()) {
        ++leftOpen;
        window->close();
      }
    }
  }
  std::function<void(T*)> handler;
  QList<QPointer<T>> handled;
  QTimer timer;
  int count = 0;
  int leftOpen = 0;
};

class Vaskel;

// Existing files and folders for the four paths of Page 0, made in `folder`.
struct Page0Paths {
  QString project;
  QString wrProject;
  QString workspace;
  QString output;
};
Page0Paths makePage0Paths(const WorkingFolder& folder);
void fillPage0(Vaskel& wizard, const Page0Paths& paths, const QString& name);

// Clicks the wizard's Next; false when the button is disabled.
bool clickNext(Vaskel& wizard);
// From a completed Page 0 on to Page 3; false when a Next is disabled.
bool goToPage3(Vaskel& wizard);
// Clicks Finish and waits until the converter has ended and the wizard has
// handled its end; false when Finish is disabled or the run does not end.
bool finishAndWait(Vaskel& wizard, int timeoutMs = 20000);
// The log's lines, without the empty ones.
QStringList logLines(const Vaskel& wizard);

// Waits until the wizard has no question to the converter pending or under
// way; false when that takes longer than `timeoutMs`.
bool waitForAnswer(Vaskel& wizard, int timeoutMs = 20000);

// What a describing converter answers, for the stand-in to print
// (STANDIN_DESCRIBE): a JSON document with the members the wizard reads.
struct CannedDescription {
  QString name;
  QString from = QStringLiteral("none");
  QStringList specs;
  QString defaultSpec;  // empty: null
  QStringList targets;
  // name, value (empty: null), source; triples
  QStringList variables;
  QString failure;  // empty: null
  QString mode = QStringLiteral("real-project");
};
QByteArray cannedJson(const CannedDescription& description);
// Writes the document into `folder` and points the stand-in at it.
void answerWith(const WorkingFolder& folder, const CannedDescription& description);
// The arguments the stand-in was last asked to describe with, and those of
// its last conversion.
QStringList describedArguments(const WorkingFolder& folder);
QStringList recordedArguments(const WorkingFolder& folder);
// The texts of a list's items, from the `from`th on.
QStringList comboItems(const class QComboBox* combo, int from = 0);
// The files under `folder` and its sub-folders, relative to it, sorted.
QStringList filesUnder(const QString& folder);

// The value of an environment variable that ctest sets; fails loudly when it
// is missing, since the test cannot run without it.
QString requiredEnvironment(const char* name);
