// The first page's choice of a whole workspace: which fields it asks for,
// the list of projects from the converter's answer, the -project options
// of a partial choice (by output folder), and the verdict on a run of several projects.
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QTextBrowser>
#include <QTest>

#include "vaskel.h"
#include "vaskel_describe.h"
#include "wizard_test_support.h"

namespace {

// The wizard, asking the stand-in, with the workspace chosen and named.
struct WorkspaceWizard {
  explicit WorkspaceWizard(const WorkingFolder& folder) : paths(makePage0Paths(folder)) {
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    wizard.question->delayMs = 0;
    wizard.Page0WorkspaceRadio->setChecked(true);
    wizard.WRWorkspaceDirEdit->setText(paths.workspace);
    wizard.OlvProjectEdit->setText(paths.output);
  }
  QStringList listed() const {
    QStringList items;
    for (int i = 0; i < wizard.Page0WorkspaceProjectList->count(); ++i) {
      const QListWidgetItem* item = wizard.Page0WorkspaceProjectList->item(i);
      items << (item->checkState() == Qt::Checked ? QStringLiteral("[x] ") : QStringLiteral("[ ] ")) +
                   item->text();
    }
    return items;
  }
  void untick(int row) { wizard.Page0WorkspaceProjectList->item(row)->setCheckState(Qt::Unchecked); }

  Page0Paths paths;
  Vaskel wizard;
};

}  // namespace

class WorkspaceTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {
    qunsetenv("STANDIN_PROJECTS");
    qunsetenv("STANDIN_SKIP");
  }

  void theChoiceSwitchesTheFieldsAsked() {
    WorkingFolder folder;
    const Page0Paths paths = makePage0Paths(folder);
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    wizard.question->delayMs = 0;
    fillPage0(wizard, paths, QStringLiteral("Typed"));
    QVERIFY(waitForAnswer(wizard));
    QVERIFY(wizard.Page0->isComplete());
    QVERIFY(wizard.Page0OneProjectRadio->isChecked());
    QVERIFY(wizard.Page0WorkspaceProjectList->isHidden());

    wizard.Page0WorkspaceRadio->setChecked(true);
    for (QWidget* oneProject : {static_cast<QWidget*>(wizard.ProjectEdit),
                                static_cast<QWidget*>(wizard.WRProjectEdit),
                                static_cast<QWidget*>(wizard.ProjectBrowseBtn)})
      QVERIFY(oneProject->isHidden());
    QVERIFY(!wizard.OlvNameEdit->isEnabled());
    QVERIFY(!wizard.Page0WorkspaceProjectList->isHidden());
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(describedArguments(folder),
             (QStringList{"-workspace", paths.workspace, paths.output, "-wb", "-describe"}));
    QVERIFY(wizard.Page0->isComplete());
    // Without the output folder nothing is asked, and the page waits.
    wizard.OlvProjectEdit->clear();
    QVERIFY(!wizard.Page0->isComplete());
    QVERIFY(!wizard.describing());

    wizard.OlvProjectEdit->setText(paths.output);
    wizard.Page0OneProjectRadio->setChecked(true);
    QVERIFY(!wizard.ProjectEdit->isHidden());
    QVERIFY(wizard.OlvNameEdit->isEnabled());
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(describedArguments(folder).first(), paths.project);
    QVERIFY(wizard.Page0->isComplete());
  }

  void theListFilledFromTheAnswerAllTicked() {
    WorkingFolder folder;
    qputenv("STANDIN_PROJECTS", "App,Lib,Rtp");
    WorkspaceWizard w(folder);
    QVERIFY(!w.wizard.Page0->isComplete());
    QVERIFY(waitForAnswer(w.wizard));
    QCOMPARE(w.listed(), (QStringList{"[x] App", "[x] Lib", "[x] Rtp"}));
    QVERIFY(w.wizard.Page0->isComplete());
    w.untick(0);
    w.untick(1);
    w.untick(2);
    QVERIFY(!w.wizard.Page0->isComplete());
    QCOMPARE(w.wizard.Page0StatusLabel->text(), QStringLiteral("Tick at least one project to convert."));
  }

  void aPartialChoiceGivesProjectOptions_data() {
    QTest::addColumn<QList<int>>("untick");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("every project: none") << QList<int>{} << QStringList{};
    QTest::newRow("one unticked") << QList<int>{1} << QStringList{"-project", "App", "-project", "Rtp"};
    QTest::newRow("two unticked") << QList<int>{0, 2} << QStringList{"-project", "Lib"};
  }

  void aPartialChoiceGivesProjectOptions() {
    QFETCH(QList<int>, untick);
    QFETCH(QStringList, options);
    WorkingFolder folder;
    qputenv("STANDIN_PROJECTS", "App,Lib,Rtp");
    WorkspaceWizard w(folder);
    QVERIFY(waitForAnswer(w.wizard));
    for (int row : untick) w.untick(row);
    const QStringList arguments = w.wizard.conversionArguments();
    QCOMPARE(arguments.mid(0, 4), (QStringList{"-workspace", w.paths.workspace, w.paths.output, "-wb"}));
    QCOMPARE(arguments.mid(4), options);
    // The question still lists every project.
    QVERIFY(!w.wizard.conversionArguments(true).contains(QStringLiteral("-project")));
  }

  void theRunSucceedsOnlyWithEveryTickedProjectsFile_data() {
    QTest::addColumn<QByteArray>("skip");  // the project the stand-in leaves unwritten
    QTest::addColumn<QList<int>>("untick");
    QTest::addColumn<bool>("success");
    QTest::newRow("every project written") << QByteArray() << QList<int>{} << true;
    QTest::newRow("one project not written") << QByteArray("Lib") << QList<int>{} << false;
    QTest::newRow("the unwritten one not ticked") << QByteArray("Lib") << QList<int>{1} << true;
  }

  void theRunSucceedsOnlyWithEveryTickedProjectsFile() {
    QFETCH(QByteArray, skip);
    QFETCH(QList<int>, untick);
    QFETCH(bool, success);
    WorkingFolder folder;
    qputenv("STANDIN_PROJECTS", "App,Lib,Rtp");
    if (!skip.isEmpty()) qputenv("STANDIN_SKIP", skip);
    WorkspaceWizard w(folder);
    QVERIFY(waitForAnswer(w.wizard));
    for (int row : untick) w.untick(row);
    w.wizard.show();
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(goToPage3(w.wizard));
    QVERIFY(w.wizard.DetailsText->toPlainText().startsWith(
        untick.isEmpty() ? QStringLiteral("WindRiver Project(s):\nApp\nLib\nRtp\n\n")
                         : QStringLiteral("WindRiver Project(s):\nApp\nRtp\n\n")));
    QVERIFY(finishAndWait(w.wizard));
    const QStringList log = logLines(w.wizard);
    QCOMPARE(log.contains(QStringLiteral("Project Converted Successfully!")), success);
    QCOMPARE(boxes.seen(), success ? 0 : 1);
    const int projects = 3 - static_cast<int>(untick.size());
    QVERIFY(log.contains(QStringLiteral("Project 1 of %1: App (%2/App)").arg(projects).arg(w.paths.workspace)));
    QVERIFY(log.contains(QStringLiteral("Workspace: %1 of %1 projects converted").arg(projects)));
    const QString missing =
        QStringLiteral("Plovik ended with exit status 0 but did not write the project file %1: "
                       "the project was not converted.")
            .arg(QDir::toNativeSeparators(QDir(w.paths.output).filePath("Lib/Lib.prj")));
    QCOMPARE(log.contains(missing), !success);
  }

  // Two projects of one name differ only in their output folders: each ticked
  // one is passed by its folder, and an unticked namesake is never converted;
  // where the folder passed is also the unticked one's name, Plovik would
  // take both, so the page holds Next back.
  void sameNamedProjectsNeverConvertAnUntickedOne_data() {
    QTest::addColumn<QList<int>>("untick");
    QTest::addColumn<QStringList>("options");     // none: the page refuses
    QTest::addColumn<QStringList>("written");     // output folders given a .prj
    QTest::newRow("the first Lib unticked")
        << QList<int>{1} << QStringList{"-project", "App", "-project", "Lib-2"}
        << QStringList{"App", "Lib-2"};
    QTest::newRow("only the second Lib ticked")
        << QList<int>{0, 1} << QStringList{"-project", "Lib-2"} << QStringList{"Lib-2"};
    QTest::newRow("both Libs unticked")
        << QList<int>{1, 2} << QStringList{"-project", "App"} << QStringList{"App"};
    QTest::newRow("the second Lib unticked: its name is the first's folder")
        << QList<int>{2} << QStringList{} << QStringList{};
    QTest::newRow("only the first Lib ticked") << QList<int>{0, 2} << QStringList{} << QStringList{};
  }

  void sameNamedProjectsNeverConvertAnUntickedOne() {
    QFETCH(QList<int>, untick);
    QFETCH(QStringList, options);
    QFETCH(QStringList, written);
    WorkingFolder folder;
    qputenv("STANDIN_PROJECTS", "App,Lib,Lib=Lib-2");
    WorkspaceWizard w(folder);
    QVERIFY(waitForAnswer(w.wizard));
    QCOMPARE(w.listed(), (QStringList{"[x] App", "[x] Lib", "[x] Lib"}));
    for (int row : untick) w.untick(row);
    if (options.isEmpty()) {
      QVERIFY(!w.wizard.Page0->isComplete());
      QCOMPARE(w.wizard.Page0StatusLabel->toolTip(),
               QStringLiteral("Plovik cannot convert Lib (Lib) without Lib (Lib-2), named like "
                              "its folder: tick both or neither."));
      return;
    }
    QCOMPARE(w.wizard.conversionArguments().mid(4), options);
    w.wizard.show();
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(goToPage3(w.wizard));
    QVERIFY(finishAndWait(w.wizard));
    QCOMPARE(recordedArguments(folder).mid(4, options.size()), options);
    QVERIFY(logLines(w.wizard).contains(QStringLiteral("Project Converted Successfully!")));
    QCOMPARE(boxes.seen(), 0);
    const QDir output(w.paths.output);
    for (const QString& name : {QStringLiteral("App"), QStringLiteral("Lib"), QStringLiteral("Lib-2")})
      QVERIFY2(output.exists(name) == written.contains(name), qPrintable(name));
  }

  void theWorkspaceAnswerRead() {
    QString error;
    const auto answer = parseDescription(
        R"json({"version": 1, "mode": "workspace", "workspace": "ws", "destination": "/out",
            "projects": [{"name": "App", "folder": "ws/App", "output": "/out/App",
                          "description": {"version": 1, "failure": null}},
                         {"name": "Lib", "folder": "ws/old/Lib", "output": "/out/Lib-2",
                          "description": {"version": 1, "failure": "Unknown build spec: x (known: gnu)"}}],
            "warnings": [], "failure": null})json",
        &error);
    QVERIFY2(answer, qPrintable(error));
    QVERIFY(answer->isWorkspace());
    QCOMPARE(answer->projects.size(), 2);
    QCOMPARE(answer->projects[1].output, QStringLiteral("/out/Lib-2"));
    QCOMPARE(answer->projects[1].failure, QStringLiteral("Unknown build spec: x (known: gnu)"));
    QVERIFY(answer->projects[0].failure.isEmpty());
  }
};

QTEST_MAIN(WorkspaceTest)
#include "vaskel_workspace_test.moc"
