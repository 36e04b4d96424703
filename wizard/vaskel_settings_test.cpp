// The settings file "settings.txt" in the current directory: its records
// written and read back, what a new wizard takes from it, and when and how
// the wizard writes it.
#include <QBuffer>
#include <QMessageBox>
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

struct Fields {
  QString workspace, message, analyser, compiler;
};

QByteArray written(const RememberedSettings& settings) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  SettingsFile::write(buffer, settings);
  return buffer.data();
}

RememberedSettings readFrom(QByteArray bytes) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return SettingsFile::read(buffer);
}

RememberedSettings everything() {
  return {"/ws", "/m.p_s", "/a.p_a", "/c.p_c", "/out", true, "PPC32gnu", "app", true, "/db.json"};
}

Fields fieldsOf(const Vaskel& wizard) {
  return {wizard.WRWorkspaceDirEdit->text(), wizard.MsgPersonEdit->text(),
          wizard.AnalPersonEdit->text(), wizard.CmpPersonEdit->text()};
}

}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void records_data() {
    QTest::addColumn<RememberedSettings>("settings");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("readBack");  // whether reading the file gives the settings again
    QTest::newRow("nothing: the workspace alone, empty")
        << RememberedSettings{} << QByteArray("Workspace Dir:\n\n\n") << false;
    QTest::newRow("everything, in a fixed order")
        << everything()
        << QByteArray("Workspace Dir:\n/ws\n\nMessage Personality:\n/m.p_s\n\n"
                      "Analyser Personality:\n/a.p_a\n\nCompiler Personality:\n/c.p_c\n\n"
                      "Output Folder:\n/out\n\nWorkbench Mode:\non\n\nBuild Spec:\nPPC32gnu\n\n"
                      "Build Target:\napp\n\nCompilation Database:\non\n\n"
                      "Compilation Database File:\n/db.json\n\n")
        << true;
    RememberedSettings workspace;
    workspace.wholeWorkspace = true;
    QTest::newRow("the whole workspace, last")
        << workspace << QByteArray("Workspace Dir:\n\n\nWhole Workspace:\non\n\n") << false;
    RememberedSettings empties{"", "", "", "", "", true, "", "", true, ""};
    QTest::newRow("empty values: left out, but the workspace's and the database file's")
        << empties
        << QByteArray("Workspace Dir:\n\n\nWorkbench Mode:\non\n\nCompilation Database:\non\n\n"
                      "Compilation Database File:\n\n\n")
        << false;
  }

  void records() {
    QFETCH(RememberedSettings, settings);
    QFETCH(QByteArray, file);
    QFETCH(bool, readBack);
    QCOMPARE(written(settings), file);
    QCOMPARE(readFrom(file) == settings, readBack);
    QCOMPARE(written(readFrom(file)), file);
  }

  void load_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("fields");  // workspace, message, analyser, compiler
    QTest::newRow("line feeds")
        << QByteArray("Workspace Dir:\nC:\\ws\n\nMessage Personality:\nC:\\p\\m.p_s\n\n")
        << QStringList{"C:\\ws", "C:\\p\\m.p_s", "", ""};
    QTest::newRow("carriage returns and line feeds")
        << QByteArray("Workspace Dir:\r\nC:\\ws\r\n\r\nMessage Personality:\r\nC:\\p\\m.p_s\r\n")
        << QStringList{"C:\\ws", "C:\\p\\m.p_s", "", ""};
    QTest::newRow("any order, the later of two wins, unknown lines passed over")
        << QByteArray("Compiler Personality:\nc1\nnoise\nAnalyser Personality:\na\n"
                      "Workspace Dir: \nnot a key\nCompiler Personality:\nc2\n")
        << QStringList{"", "", "a", "c2"};
    QTest::newRow("a key as the last line clears its field")
        << QByteArray("Compiler Personality:\nc1\n\nCompiler Personality:")
        << QStringList{"", "", "", ""};
    QTest::newRow("the line after a key is its value, even another key")
        << QByteArray("Workspace Dir:\nMessage Personality:\nm\n")
        << QStringList{"Message Personality:", "", "", ""};
    QTest::newRow("no trimming") << QByteArray("Workspace Dir:\n  spaced  \n")
                                 << QStringList{"  spaced  ", "", "", ""};
    QTest::newRow("local 8-bit text")
        << ("Workspace Dir:\n" + QStringLiteral("/d/\u00d8sterby").toLocal8Bit() + "\n")
        << QStringList{QStringLiteral("/d/\u00d8sterby"), "", "", ""};
  }

  void load() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, fields);
    WorkingFolder folder;
    folder.writeFile(QStringLiteral("settings.txt"), file);
    Vaskel wizard;
    const Fields loaded = fieldsOf(wizard);
    QCOMPARE((QStringList{loaded.workspace, loaded.message, loaded.analyser, loaded.compiler}),
             fields);
  }

  void freshStartWithoutAFile() {
    WorkingFolder folder;
    Vaskel wizard;
    wizard.show();
    for (QLineEdit* field : wizard.findChildren<QLineEdit*>()) QVERIFY(field->text().isEmpty());
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
  }

  void aLoadedPathThatIsGoneShowsRedAtOnce() {
    WorkingFolder folder;
    const QString analyser = folder.writeFile(QStringLiteral("a.p_a"));
    folder.writeFile(QStringLiteral("settings.txt"),
                     "Workspace Dir:\n/no/such/ws\nMessage Personality:\n/no/such.p_s\n"
                     "Analyser Personality:\n" + analyser.toLocal8Bit() + "\n");
    Vaskel wizard;
    QCOMPARE(wizard.WRWorkspaceDirEdit->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(wizard.MsgPersonEdit->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(wizard.AnalPersonEdit->palette().color(QPalette::Text), QColor(0, 0, 0));
    QVERIFY(!wizard.Page1->isComplete());
  }

  void save_data() {
    QTest::addColumn<bool>("withWorkspace");
    QTest::addColumn<QStringList>("personalities");  // files to create for message, analyser, compiler
    QTest::addColumn<QString>("expected");           // with @ for the working folder
    // The destination, remembered too, is always given here.
    QTest::newRow("all empty") << false << QStringList{"", "", ""}
                               << QStringLiteral("Workspace Dir:\n\n\nOutput Folder:\n@/out\n\n");
    QTest::newRow("workspace and message")
        << true << QStringList{"m.p_s", "", ""}
        << QStringLiteral("Workspace Dir:\n@/ws\n\nMessage Personality:\n@/m.p_s\n\n"
                          "Output Folder:\n@/out\n\n");
    QTest::newRow("everything")
        << true << QStringList{"m.p_s", "a.p_a", "c.p_c"}
        << QStringLiteral("Workspace Dir:\n@/ws\n\nMessage Personality:\n@/m.p_s\n\n"
                          "Analyser Personality:\n@/a.p_a\n\nCompiler Personality:\n@/c.p_c\n\n"
                          "Output Folder:\n@/out\n\n");
  }

  // Written after the converter has run; the project files, name and
  // extensions are never stored.
  void save() {
    QFETCH(bool, withWorkspace);
    QFETCH(QStringList, personalities);
    QFETCH(QString, expected);
    WorkingFolder folder;
    Page0Paths paths = makePage0Paths(folder);
    if (!withWorkspace) paths.workspace = folder.makeFolder(QStringLiteral("elsewhere"));
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, paths, QStringLiteral("Name"));
    const QList<QLineEdit*> fields{wizard.MsgPersonEdit, wizard.AnalPersonEdit,
                                   wizard.CmpPersonEdit};
    for (int i = 0; i < 3; ++i) {
      if (!personalities[i].isEmpty()) fields[i]->setText(folder.writeFile(personalities[i]));
    }
    wizard.cppCheck->setChecked(true);
    wizard.show();
    QVERIFY(goToPage3(wizard));
    // The workspace field may only be emptied after Page 0 is passed.
    if (!withWorkspace) wizard.WRWorkspaceDirEdit->clear();
    QVERIFY(finishAndWait(wizard));
    const QString written = QString::fromLocal8Bit(folder.readFile(QStringLiteral("settings.txt")));
    // The fields hold the paths as given, here with "/" on every platform.
    QCOMPARE(written, QString(expected).replace(u'@', folder.path()));

    // A new wizard takes back what was stored.
    const Fields before = fieldsOf(wizard);
    Vaskel next;
    const Fields after = fieldsOf(next);
    QCOMPARE(after.workspace, before.workspace);
    QCOMPARE(after.message, before.message);
    QCOMPARE(after.analyser, before.analyser);
    QCOMPARE(after.compiler, before.compiler);
    QCOMPARE(next.OlvProjectEdit->text(), wizard.OlvProjectEdit->text());
    QVERIFY(next.ProjectEdit->text().isEmpty());
    QVERIFY(next.OlvNameEdit->text().isEmpty());
  }

  void modeSpecTargetDatabaseAndDestinationWrittenAndReadBack() {
    WorkingFolder folder;
    const Page0Paths paths = makePage0Paths(folder);
    CannedDescription answer;
    answer.specs = QStringList{"A", "B"};
    answer.defaultSpec = QStringLiteral("A");
    answer.targets = QStringList{"app", "test"};
    answerWith(folder, answer);
    const QString standin = requiredEnvironment("VASKEL_STANDIN");
    {
      Vaskel wizard;
      wizard.converterPath = standin;
      fillPage0(wizard, paths, QStringLiteral("Name"));
      wizard.show();
      QVERIFY(clickNext(wizard) && clickNext(wizard));
      wizard.WorkbenchBox->setChecked(true);
      QVERIFY(waitForAnswer(wizard));
      wizard.SpecCombo->setCurrentIndex(1);
      wizard.TargetCombo->setCurrentIndex(2);
      wizard.CdbCheck->setChecked(true);
      QVERIFY(clickNext(wizard));
      QVERIFY(finishAndWait(wizard));
      // A database file that follows the destination is not written.
      QCOMPARE(QString::fromLocal8Bit(folder.readFile(QStringLiteral("settings.txt"))),
               "Workspace Dir:\n" + paths.workspace + "\n\nOutput Folder:\n" + paths.output +
                   "\n\nWorkbench Mode:\non\n\nBuild Spec:\nB\n\nBuild Target:\ntest\n\n"
                   "Compilation Database:\non\n\n");
    }

    // The next start: the destination, the mode and the database at once,
    // the build spec and target once an answer names them, in place of the
    // project's default.
    Vaskel next;
    next.converterPath = standin;
    QCOMPARE(next.OlvProjectEdit->text(), paths.output);
    QVERIFY(next.WorkbenchBox->isChecked());
    QVERIFY(next.CdbCheck->isChecked());
    QCOMPARE(next.CdbEdit->text(),
             QDir::toNativeSeparators(paths.output + QStringLiteral("/compile_commands.json")));
    next.ProjectEdit->setText(paths.project);
    next.WRProjectEdit->setText(paths.wrProject);
    next.OlvNameEdit->setText(QStringLiteral("Name"));
    next.show();
    QVERIFY(waitForAnswer(next));
    QCOMPARE(next.SpecCombo->currentText(), QStringLiteral("B"));
    QCOMPARE(next.TargetCombo->currentText(), QStringLiteral("test"));

    // A file of the user's own is written; switched off, neither the mode,
    // its choices nor the database are.
    next.CdbEdit->setText(QStringLiteral("db.json"));
    next.CdbEdit->textEdited(next.CdbEdit->text());
    QVERIFY(clickNext(next) && clickNext(next) && clickNext(next));
    QVERIFY(finishAndWait(next));
    QVERIFY(folder.readFile(QStringLiteral("settings.txt"))
                .endsWith("Compilation Database:\non\n\nCompilation Database File:\ndb.json\n\n"));
    Vaskel third;
    QCOMPARE(third.CdbEdit->text(), QStringLiteral("db.json"));
    third.OlvProjectEdit->setText(QStringLiteral("elsewhere"));
    QCOMPARE(third.CdbEdit->text(), QStringLiteral("db.json"));

    next.back();
    next.WorkbenchBox->setChecked(false);
    next.CdbCheck->setChecked(false);
    QVERIFY(clickNext(next));
    QVERIFY(finishAndWait(next));
    for (const char* key : {"Workbench Mode:", "Build Spec:", "Build Target:", "Compilation Database"})
      QVERIFY(!folder.readFile(QStringLiteral("settings.txt")).contains(key));
  }

  // A run that fails on a project the converter cannot read leaves the lists
  // empty; the build spec and target chosen before stay remembered.
  void aFailedRunKeepsTheRememberedSpecAndTarget() {
    WorkingFolder folder;
    folder.writeFile(QStringLiteral("settings.txt"),
                     "Workbench Mode:\non\n\nBuild Spec:\nB\n\nBuild Target:\ntest\n\n");
    CannedDescription broken;
    broken.failure = QStringLiteral("WR Project file parsing encountered unexpected token: x");
    answerWith(folder, broken);
    qputenv("STANDIN_EXIT", "1");
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("Name"));
    wizard.show();
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(wizard.SpecCombo->count(), 0);
    QVERIFY(goToPage3(wizard));
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(finishAndWait(wizard));
    qunsetenv("STANDIN_EXIT");
    QCOMPARE(boxes.seen(), 1);
    QVERIFY(folder.readFile(QStringLiteral("settings.txt"))
                .endsWith("Workbench Mode:\non\n\nBuild Spec:\nB\n\nBuild Target:\ntest\n\n"));
  }

  void newKeys_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("mode");
    QTest::addColumn<bool>("wholeWorkspace");
    QTest::newRow("an older file without them: one project")
        << QByteArray("Workspace Dir:\n/ws\n\nMessage Personality:\n/m.p_s\n\n") << "" << false
        << false;
    QTest::newRow("all of them")
        << QByteArray("Workspace Dir:\n/ws\n\nOutput Folder:\n/out put\n\n"
                      "Workbench Mode:\non\n\nBuild Spec:\nPPC32gnu\n\nWhole Workspace:\non\n\n")
        << "/out put" << true << true;
    QTest::newRow("a mode other than on is off")
        << QByteArray("Workbench Mode:\nyes\n\nWhole Workspace:\nyes\n") << "" << false << false;
  }

  void newKeys() {
    QFETCH(QByteArray, file);
    QFETCH(QString, destination);
    QFETCH(bool, mode);
    QFETCH(bool, wholeWorkspace);
    WorkingFolder folder;
    folder.writeFile(QStringLiteral("settings.txt"), file);
    Vaskel wizard;
    QCOMPARE(wizard.OlvProjectEdit->text(), destination);
    QCOMPARE(wizard.WorkbenchBox->isChecked(), mode);
    QCOMPARE(wizard.Page0WorkspaceRadio->isChecked(), wholeWorkspace);
    QCOMPARE(wizard.ProjectEdit->isHidden(), wholeWorkspace);
    if (file.startsWith("Workspace Dir:"))
      QCOMPARE(wizard.WRWorkspaceDirEdit->text(), QStringLiteral("/ws"));
  }

  void notWrittenWhenCancelled() {
    WorkingFolder folder;
    Vaskel wizard;
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("Name"));
    wizard.show();
    wizard.button(QWizard::CancelButton)->click();
    QVERIFY(!wizard.isVisible());
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("settings.txt"))));
  }
};

QTEST_MAIN(SettingsTest)
#include "vaskel_settings_test.moc"
