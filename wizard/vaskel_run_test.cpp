// Running the converter from the wizard: the command line it is given, the
// log, the end of a run, one run at a time, and the real Plovik end to end.
#include <QDesktopServices>
#include <QMessageBox>
#include <QTextBlock>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

const QString kInitialising = QStringLiteral("Initialising Project Conversion ...");
const QString kSucceeded = QStringLiteral("Project Converted Successfully!");
const QString kNotExecuted = QStringLiteral(
    "Project Conversion could not be executed: Please ensure Plovik.exe is set on the path.");

// A path as the browse dialogs give it: on Windows with "\\", which the
// converter alone takes as a separator.
QString native(const QString& path) { return QDir::toNativeSeparators(path); }

// A path in the examples folder, in the native form.
QString example(const QString& path) {
  return native(requiredEnvironment("PLOVIK_EXAMPLES") + u'/' + path);
}

// Runs the real converter directly, for the lines it prints.
QStringList plovikLines(const QStringList& arguments) {
  QProcess plovik;
  plovik.start(requiredEnvironment("PLOVIK_EXE"), arguments);
  if (!plovik.waitForFinished(20000)) return {QStringLiteral("(Plovik did not end)")};
  return QString::fromLocal8Bit(plovik.readAllStandardOutput())
      .remove(u'\r')
      .split(u'\n', Qt::SkipEmptyParts);
}

// Puts the wizard on Page 3 with the example workspace and `output`.
bool prepareExample(Vaskel& wizard, const QString& project, const QString& output) {
  wizard.converterPath = requiredEnvironment("PLOVIK_EXE");
  fillPage0(wizard,
            {project, example(QStringLiteral("workspace/App/.wrproject")),
             example(QStringLiteral("workspace")), output},
            QStringLiteral("Example"));
  wizard.cCheck->setChecked(true);
  wizard.hCheck->setChecked(true);
  wizard.show();
  return goToPage3(wizard);
}

QStringList exampleArguments(const QString& project, const QString& output) {
  return {project, example(QStringLiteral("workspace/App/.wrproject")),
          example(QStringLiteral("workspace")), output, "-pn", "Example", "-ext", "c,h"};
}

// Stands in for the desktop's file manager.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened << url; }
};

}  // namespace

class RunTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    qunsetenv("WIND_BASE");
    qunsetenv("STANDIN_WAIT_FOR");
    qunsetenv("STANDIN_EXIT");
    qunsetenv("STANDIN_PRINT");
    qunsetenv("STANDIN_CRASH");
    qunsetenv("STANDIN_NO_PRJ");
  }

  void commandLine_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("personalities");  // message, analyser, compiler files
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QStringList>("options");  // @ for the working folder
    QTest::newRow("nothing optional") << "P" << QStringList{"", "", ""} << ""
                                      << QStringList{"-pn", "P"};
    QTest::newRow("only the analyser")
        << "P" << QStringList{"", "a.p_a", ""} << "" << QStringList{"-pn", "P", "-ap", "@/a.p_a"};
    QTest::newRow("everything, in a fixed order")
        << "P" << QStringList{"m.p_s", "a.p_a", "c.p_c"} << "res"
        << QStringList{"-pn", "P", "-mp", "@/m.p_s", "-ap", "@/a.p_a", "-cp", "@/c.p_c", "-ext",
                       "res"};
    QTest::newRow("spaces stay inside one argument")
        << " My  Project " << QStringList{"", "", "with space.p_c"} << "a b"
        << QStringList{"-pn", " My  Project ", "-cp", "@/with space.p_c", "-ext", "a b"};
    QTest::newRow("an empty name is still passed") << "" << QStringList{"", "", ""} << ""
                                                   << QStringList{"-pn", ""};
  }

  void commandLine() {
    QFETCH(QString, name);
    QFETCH(QStringList, personalities);
    QFETCH(QString, custom);
    QFETCH(QStringList, options);
    WorkingFolder folder;
    const Page0Paths paths = makePage0Paths(folder);
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, paths, name.isEmpty() ? QStringLiteral("x") : name);
    const QList<QLineEdit*> fields{wizard.MsgPersonEdit, wizard.AnalPersonEdit,
                                   wizard.CmpPersonEdit};
    for (int i = 0; i < 3; ++i) {
      if (!personalities[i].isEmpty()) fields[i]->setText(folder.writeFile(personalities[i]));
    }
    wizard.CustExtEdit->setText(custom);
    wizard.show();
    QVERIFY(goToPage3(wizard));
    if (name.isEmpty()) wizard.OlvNameEdit->clear();
    QVERIFY(finishAndWait(wizard));

    QStringList expected{paths.project, paths.wrProject, paths.workspace, paths.output};
    for (const QString& option : options)
      expected << QString(option).replace(u'@', folder.path());
    QCOMPARE(recordedArguments(folder), expected);
  }

  void successfulRunLogsOutputAndOffersClose() {
    WorkingFolder folder;
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.show();
    const QString cancelText = wizard.button(QWizard::CancelButton)->text();
    QVERIFY(cancelText != QStringLiteral("Close"));
    QVERIFY(goToPage3(wizard));
    QVERIFY(finishAndWait(wizard));
    const QStringList lines = logLines(wizard);
    QCOMPARE(lines.first(), kInitialising);
    QCOMPARE(lines.at(1), QStringLiteral("Stand-in converter started"));
    QCOMPARE(lines.last(), kSucceeded);
    // The stand-in writes a two-byte character in two halves, a moment apart.
#ifdef Q_OS_WIN
    // Read in the ANSI code page, as Plovik writes there: two characters.
    const QString twoHalves = QString::fromLocal8Bit("\xC3\x98sterby");
#else
    const QString twoHalves = QStringLiteral("\u00d8sterby");
#endif
    QVERIFY(wizard.DetailsText->toPlainText().contains(twoHalves));
    QVERIFY(!wizard.DetailsText->toPlainText().contains(QChar::ReplacementCharacter));
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(), QStringLiteral("Close"));
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(wizard.button(QWizard::BackButton)->isEnabled());
  }

  void howARunEnds_data() {
    QTest::addColumn<QByteArray>("exitStatus");  // empty: the converter crashes
    QTest::addColumn<QString>("projectFile");  // "written", "none" or "earlier"
    QTest::addColumn<bool>("succeeded");
    QTest::newRow("status 0") << QByteArray("0") << "written" << true;
    QTest::newRow("status 1") << QByteArray("1") << "written" << false;
    QTest::newRow("status 255") << QByteArray("255") << "written" << false;
    QTest::newRow("a crash") << QByteArray() << "written" << false;
    // As when a value is taken for -describe: status 0, nothing written.
    QTest::newRow("status 0 without a project file") << QByteArray("0") << "none" << false;
    QTest::newRow("status 0, only an earlier run's project file")
        << QByteArray("0") << "earlier" << false;
  }

  // Only a normal end with status 0 that wrote the project file succeeds; a
  // failure shows the message box, a crash shows nothing; the settings are
  // saved after each.
  void howARunEnds() {
    QFETCH(QByteArray, exitStatus);
    QFETCH(QString, projectFile);
    QFETCH(bool, succeeded);
    const bool crashes = exitStatus.isEmpty();
    qputenv(crashes ? "STANDIN_CRASH" : "STANDIN_EXIT", crashes ? "1" : exitStatus);
    if (projectFile != QLatin1String("written")) qputenv("STANDIN_NO_PRJ", "1");
    WorkingFolder folder;
    const Page0Paths paths = makePage0Paths(folder);
    if (projectFile == QLatin1String("earlier")) {
      QFile earlier(folder.writeFile(QStringLiteral("out/P.prj"), "earlier\n"));
      QVERIFY(earlier.open(QIODevice::ReadWrite));
      QVERIFY(earlier.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                  QFileDevice::FileModificationTime));
    }
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, paths, QStringLiteral("P"));
    wizard.show();
    const QString cancelText = wizard.button(QWizard::CancelButton)->text();
    QVERIFY(goToPage3(wizard));
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(finishAndWait(wizard));

    QCOMPARE(wizard.converterProcess()->exitStatus(),
             crashes ? QProcess::CrashExit : QProcess::NormalExit);
    QCOMPARE(boxes.seen(), !succeeded && !crashes ? 1 : 0);
    QCOMPARE(logLines(wizard).last() == kSucceeded, succeeded);
    QCOMPARE(wizard.DetailsText->toPlainText().contains(
                 "Plovik ended with exit status 0 but did not write the project file " +
                 QDir::toNativeSeparators(paths.output + "/P.prj")),
             projectFile != QLatin1String("written"));
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(),
             succeeded ? QStringLiteral("Close") : cancelText);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("settings.txt"))));
    QVERIFY(wizard.button(QWizard::BackButton)->isEnabled());
  }

  // Cancel stops a run under way and closes the wizard; after a success
  // there is nothing to cancel. The button says which, run after run, and
  // the busy bar shows while the converter runs.
  void theCancelButtonSaysWhatItDoesAcrossTwoRuns() {
    WorkingFolder folder;
    const QString gate = folder.filePath(QStringLiteral("go"));
    qputenv("STANDIN_WAIT_FOR", gate.toLocal8Bit());
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.show();
    QAbstractButton* cancel = wizard.button(QWizard::CancelButton);
    const QString cancelText = cancel->text();
    QVERIFY(goToPage3(wizard));
    for (int run = 0; run < 2; ++run) {
      QFile::remove(gate);
      cancel = wizard.button(QWizard::CancelButton);
      wizard.button(QWizard::FinishButton)->click();
      QTRY_VERIFY(wizard.converterProcess()->state() == QProcess::Running);
      QCOMPARE(cancel->text(), cancelText);
      QCOMPARE(cancel->toolTip(), QStringLiteral("Stop Plovik and close the wizard."));
      QVERIFY(wizard.RunProgressBar->isVisible());
      QCOMPARE(wizard.RunProgressBar->maximum(), 0);  // busy, with no end to show

      QSignalSpy ended(wizard.converterProcess(), &QProcess::finished);
      folder.writeFile(QStringLiteral("go"));
      QVERIFY(ended.wait(20000));
      QCOMPARE(cancel->text(), QStringLiteral("Close"));
      QCOMPARE(cancel->toolTip(), QStringLiteral("Close the wizard."));
      QVERIFY(!wizard.RunProgressBar->isVisible());
      wizard.back();
      QVERIFY(clickNext(wizard));
    }
  }

  // The converter's own path holds spaces, as under "Program Files".
  void converterInAFolderWithSpaces() {
    WorkingFolder folder;
    const Page0Paths paths = makePage0Paths(folder);
    const QString standin = requiredEnvironment("VASKEL_STANDIN");
    const QString tools = folder.makeFolder(QStringLiteral("Program Files/Plovik tools"));
    const QString suffix = QFileInfo(standin).suffix();  // ".exe" where programs have one
    QVERIFY(QFile::copy(standin, tools + "/Plovik" + (suffix.isEmpty() ? "" : "." + suffix)));
    Vaskel wizard;
    wizard.converterPath = Vaskel::locateConverter(tools);
    QVERIFY(wizard.converterPath.contains(QStringLiteral("Program Files")));
    fillPage0(wizard, paths, QStringLiteral("My Project"));
    wizard.show();
    QVERIFY(goToPage3(wizard));
    QVERIFY(finishAndWait(wizard));
    QCOMPARE(logLines(wizard).last(), kSucceeded);
    QCOMPARE(recordedArguments(folder), (QStringList{paths.project, paths.wrProject,
                                                     paths.workspace, paths.output, "-pn",
                                                     "My Project"}));
  }

  void oneConversionAtATime() {
    WorkingFolder folder;
    const QString gate = folder.filePath(QStringLiteral("go"));
    qputenv("STANDIN_WAIT_FOR", gate.toLocal8Bit());
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.show();
    QVERIFY(goToPage3(wizard));

    wizard.button(QWizard::FinishButton)->click();
    QProcess* first = wizard.converterProcess();
    QVERIFY(first);
    QTRY_COMPARE(first->state(), QProcess::Running);
    QVERIFY(!wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QCOMPARE(logLines(wizard), QStringList{kInitialising});

    QSignalSpy ended(first, &QProcess::finished);
    folder.writeFile(QStringLiteral("go"));
    QVERIFY(ended.wait(20000));
    QVERIFY(wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());

    // Back and Next make a new summary and a new run possible.
    wizard.button(QWizard::BackButton)->click();
    QCOMPARE(wizard.currentPage(), wizard.Page2);
    QVERIFY(clickNext(wizard));
    QVERIFY(wizard.DetailsText->toPlainText().startsWith("WindRiver Project(s):\n"));
    QVERIFY(finishAndWait(wizard));
    QVERIFY(wizard.converterProcess() != first);
    QCOMPARE(logLines(wizard).first(), kInitialising);
    QCOMPARE(logLines(wizard).last(), kSucceeded);
  }

  void cancelDuringARunEndsItWithoutSaving() {
    WorkingFolder folder;
    qputenv("STANDIN_WAIT_FOR", folder.filePath(QStringLiteral("never")).toLocal8Bit());
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.show();
    QVERIFY(goToPage3(wizard));
    wizard.button(QWizard::FinishButton)->click();
    QProcess* process = wizard.converterProcess();
    QTRY_COMPARE(process->state(), QProcess::Running);

    wizard.button(QWizard::CancelButton)->click();
    QCOMPARE(process->state(), QProcess::NotRunning);
    QCOMPARE(process->exitStatus(), QProcess::CrashExit);
    QVERIFY(!wizard.isVisible());
    QTest::qWait(100);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("settings.txt"))));
  }

#ifndef Q_OS_WIN
  // Cancel asks the real converter to stop before it kills it, so the run
  // removes its temporary files: here it waits on a FIFO given as the
  // analyser personality, with the project file half written.
  void cancelLeavesNoTemporaryFileOfTheConverter() {
    WorkingFolder folder;
    const QString fifo = folder.filePath(QStringLiteral("given.p_a"));
    QVERIFY(mkfifo(fifo.toLocal8Bit().constData(), 0600) == 0);
    const QString output = native(folder.makeFolder(QStringLiteral("out")));
    Vaskel wizard;
    QVERIFY(prepareExample(wizard, example(QStringLiteral("workspace/App/.project")), output));
    wizard.AnalPersonEdit->setText(fifo);
    wizard.button(QWizard::FinishButton)->click();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(output + QStringLiteral("/App.prj.tmp")), 20000);
    wizard.button(QWizard::CancelButton)->click();
    QCOMPARE(filesUnder(output).filter(QStringLiteral(".tmp")), QStringList());
  }
#endif

  void missingConverterIsReportedInTheLog() {
    WorkingFolder folder;
    const QString emptyFolder = folder.makeFolder(QStringLiteral("empty"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", emptyFolder.toLocal8Bit());
    Vaskel wizard;
#ifdef Q_OS_WIN
    // Windows' program search looks first in the folder of the program that
    // searches, where the real Plovik.exe lies beside the tests.
    wizard.converterPath = QDir(emptyFolder).filePath(QStringLiteral("Plovik"));
#else
    wizard.converterPath = Vaskel::locateConverter(emptyFolder);
#endif
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.show();
    QVERIFY(goToPage3(wizard));
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    wizard.button(QWizard::FinishButton)->click();
    QTRY_COMPARE(logLines(wizard), (QStringList{kInitialising, kNotExecuted}));
    qputenv("PATH", path);
    QTest::qWait(100);  // room for anything else, which must not come
    QCOMPARE(logLines(wizard), (QStringList{kInitialising, kNotExecuted}));
    QCOMPARE(boxes.seen(), 0);
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("settings.txt"))));
    QVERIFY(wizard.isVisible());
  }

  void warningsStandOutAndAreCounted_data() {
    QTest::addColumn<QByteArray>("output");  // printed after the stand-in's own lines; \f pauses
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QString>("count");  // the last line of the log; empty: no count line
    QTest::newRow("two, one split between two reads")
        << QByteArray("Warning: unresolved variable WIND_BASE in 12 include paths\r\n"
                      "  Creating Group - App\nWarn\fing: no source file\n")
        << 0
        << QStringList{"Warning: unresolved variable WIND_BASE in 12 include paths",
                       "Warning: no source file"}
        << "2 warnings";
    QTest::newRow("one, on a last line without its end")
        << QByteArray("Warning: project Lib not found") << 0
        << QStringList{"Warning: project Lib not found"} << "1 warning";
    QTest::newRow("only lines that start with it count")
        << QByteArray("  Warning: indented\nWarning:no space\nwarning: lower case\n") << 0
        << QStringList{} << "";
    QTest::newRow("counted after a failure too")
        << QByteArray("Warning: a\nCould not write file: x\n") << 1 << QStringList{"Warning: a"}
        << "1 warning";
  }

  void warningsStandOutAndAreCounted() {
    QFETCH(QByteArray, output);
    QFETCH(int, exitStatus);
    QFETCH(QStringList, warnings);
    QFETCH(QString, count);
    WorkingFolder folder;
    qputenv("STANDIN_PRINT", folder.writeFile(QStringLiteral("print.txt"), output).toLocal8Bit());
    qputenv("STANDIN_EXIT", QByteArray::number(exitStatus));
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.show();
    QVERIFY(goToPage3(wizard));
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(finishAndWait(wizard));

    QStringList coloured;
    QString last;
    for (QTextBlock block = wizard.DetailsText->document()->begin(); block.isValid();
         block = block.next()) {
      if (block.text().isEmpty()) continue;
      const QTextCharFormat format = block.begin().fragment().charFormat();
      if (format.hasProperty(QTextFormat::ForegroundBrush)) coloured << block.text();
      last = block.text();
    }
    if (!count.isEmpty()) warnings << count;
    QCOMPARE(coloured, warnings);
    QCOMPARE(last, count.isEmpty() ? (exitStatus == 0 ? kSucceeded : QString()) : count);
    QCOMPARE(boxes.seen(), exitStatus == 0 ? 0 : 1);
    // The split line arrives whole, not as two paragraphs.
    QVERIFY(!logLines(wizard).contains(QStringLiteral("Warn")));
  }

  void openFolderAfterASuccessfulRun() {
    WorkingFolder folder;
    const Page0Paths paths = makePage0Paths(folder);
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, paths, QStringLiteral("P"));
    // Relative, as typed: opened against the current folder, as the converter took it.
    wizard.OlvProjectEdit->setText(QStringLiteral("out"));
    wizard.show();
    QAbstractButton* open = wizard.button(QWizard::CustomButton1);
    QVERIFY(goToPage3(wizard));
    QVERIFY(!open->isVisible());

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QVERIFY(finishAndWait(wizard));
    QVERIFY(open->isVisible());
    QCOMPARE(open->text(), QStringLiteral("Open Folder"));
    open->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(paths.output)});

    // Gone on leaving the page, and not offered after a failure.
    wizard.back();
    QVERIFY(!open->isVisible());
    QVERIFY(clickNext(wizard));
    QVERIFY(!open->isVisible());
    qputenv("STANDIN_EXIT", "1");
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(finishAndWait(wizard));
    QCOMPARE(boxes.seen(), 1);
    QVERIFY(!open->isVisible());
  }

  // End to end with the real converter.

  void failingConversionShowsTheMessageBoxOnce() {
    WorkingFolder folder;
    const QString output = native(folder.makeFolder(QStringLiteral("out")));
    // An empty project description: the converter fails while reading it.
    const QString broken = native(folder.writeFile(QStringLiteral("broken.project")));
    const QStringList plovikSays = plovikLines(exampleArguments(broken, output));
    QVERIFY(!plovikSays.isEmpty());

    Vaskel wizard;
    QVERIFY(prepareExample(wizard, broken, output));
    const QString cancelText = wizard.button(QWizard::CancelButton)->text();

    QStringList boxTexts;
    bool savedBeforeClosed = true;
    ModalWatcher<QMessageBox> boxes([&](QMessageBox* box) {
      boxTexts << box->windowTitle() << box->text();
      savedBeforeClosed = QFile::exists(folder.filePath(QStringLiteral("settings.txt")));
      box->accept();
    });
    QVERIFY(finishAndWait(wizard));
    QTest::qWait(200);  // room for a second box, which must not come

    QCOMPARE(boxes.seen(), 1);
    QCOMPARE(boxes.forced(), 0);
    QCOMPARE(boxTexts, (QStringList{"Vaskel", "Project Conversion Failed!\nPlease check the "
                                              "details log and try again."}));
    QVERIFY(!savedBeforeClosed);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("settings.txt"))));
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(), cancelText);
    QCOMPARE(logLines(wizard), QStringList{kInitialising} + plovikSays);
  }

  void successfulConversionOfTheExample() {
    WorkingFolder folder;
    const QString project = example(QStringLiteral("workspace/App/.project"));
    const QString output = native(folder.makeFolder(QStringLiteral("out")));
    Vaskel wizard;
    QVERIFY(prepareExample(wizard, project, output));
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(finishAndWait(wizard));
    QCOMPARE(boxes.seen(), 0);
    // The project file and the three personalities, named after the project.
    QCOMPARE(filesUnder(output),
             (QStringList{"App.prj", "person/App.p_a", "person/App.p_c", "person/App.p_s"}));
    const QString projectFile = QString::fromLocal8Bit(folder.readFile("out/App.prj"));
    QVERIFY2(projectFile.contains("\r\nSourcePath=" + example(QStringLiteral("workspace/App/")) +
                                  "\r\nOutputPath=" + output + native("/App/output/") + "\r\n"),
             qPrintable(projectFile));
    QVERIFY(QFileInfo(output + native("/App/output")).isDir());

    // The same conversion again, directly: the log carries what it prints.
    const QStringList plovikSays = plovikLines(exampleArguments(project, output));
    QVERIFY(!plovikSays.isEmpty());
    QCOMPARE(logLines(wizard), QStringList{kInitialising} + plovikSays + QStringList{kSucceeded});
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(), QStringLiteral("Close"));
    QCOMPARE(QString::fromLocal8Bit(folder.readFile(QStringLiteral("settings.txt"))),
             "Workspace Dir:\n" + wizard.WRWorkspaceDirEdit->text() + "\n\nOutput Folder:\n" +
                 output + "\n\n");
  }

  // The real converter in the real-project mode, on the example with two
  // build specs: the build spec list comes from its answer, and the warning
  // about the variable left without a value stands out and is counted.
  void realProjectModeWithTheRealConverter() {
    WorkingFolder folder;
    const QString output = native(folder.makeFolder(QStringLiteral("out")));
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("PLOVIK_EXE");
    fillPage0(wizard,
              {example(QStringLiteral("workbench/Sensor/.project")),
               example(QStringLiteral("workbench/Sensor/.wrproject")),
               example(QStringLiteral("workbench")), output},
              QStringLiteral("Sensor"));
    wizard.cCheck->setChecked(true);
    wizard.hCheck->setChecked(true);
    wizard.WorkbenchBox->setChecked(true);
    wizard.show();
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(wizard.SpecCombo->count(), 2);
    QCOMPARE(wizard.SpecCombo->currentText(), QStringLiteral("PPC32gnu"));
    wizard.SpecCombo->setCurrentIndex(0);  // PPC32diab
    QVERIFY(goToPage3(wizard));
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(finishAndWait(wizard));
    QCOMPARE(boxes.seen(), 0);
    const QStringList log = logLines(wizard);
    // The converter's advice names an option; the log says where the wizard takes the value.
    QVERIFY2(log.contains(QStringLiteral("Warning: unresolved variable WIND_BASE in 2 include paths "
                                         "(type its value into the Variables table on the previous "
                                         "page)")),
             qPrintable(log.join(u'\n')));
    // The other: the example's sub-projects have no build description of their own.
    QCOMPARE(log.last(), QStringLiteral("2 warnings"));
    const QString analyser = QString::fromLocal8Bit(folder.readFile(QStringLiteral("out/person/Sensor.p_a")));
    QVERIFY(analyser.contains(QStringLiteral("DIAB_ONLY")));
    QVERIFY(QString::fromLocal8Bit(folder.readFile(QStringLiteral("out/Sensor.prj")))
                .contains(QStringLiteral("sensor.c")));
  }
};

QTEST_MAIN(RunTest)
#include "vaskel_run_test.moc"
