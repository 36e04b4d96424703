// The wizard and the real converter given the same real-shaped files: the
// wizard offers what the converter accepts and says what it refuses, and a
// whole conversion with a build target, a variable and a compilation database
// runs through the wizard.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

const QByteArray kProjectHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<projectDescription>\n";
const QByteArray kBuildSpec =
    "\t<buildSpec>\n\t\t<buildCommand>\n\t\t\t<name>org.eclipse.cdt.make.core.makeBuilder</name>\n"
    "\t\t</buildCommand>\n\t</buildSpec>\n";
const QByteArray kProjects = "\t<comment></comment>\n\t<projects>\n\t</projects>\n";

// Build specs as Workbench lists them, one entry that only an XML reader
// stumbles on, one spec that only a key names, a build target.
const QByteArray kWrProject =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<wrxsdproject version=\"2.0\">\n"
    "\t<attributes>\n\t\t<mapAttribute>\n"
    "\t\t\t<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"B\"/>\n"
    "\t\t\t<listAttribute key=\"BLD::Info|specs\">\n"
    "\t\t\t\t<stringAttribute value=\"A\"/>\n"
    "\t\t\t\t<stringAttribute value=\"B\"/ >\n"
    "\t\t\t\t<stringAttribute value=\"C\"/>\n"
    "\t\t\t</listAttribute>\n"
    "\t\t\t<listAttribute key=\"BLD::Info|Incl|D\">\n"
    "\t\t\t\t<stringAttribute value=\"-I$(WIND_BASE)/target/h\"/>\n"
    "\t\t\t</listAttribute>\n"
    "\t\t\t<listAttribute key=\"BLD::Info|Incl|B\">\n"
    "\t\t\t\t<stringAttribute value=\"-I$(VSB_DIR)/h\"/>\n"
    "\t\t\t</listAttribute>\n"
    "\t\t\t<stringAttribute key=\"BLD::Info|Macro|VSB_DIR|value|B\" value=\"$(PRJ_ROOT_DIR)/../VSB\"/>\n"
    "\t\t</mapAttribute>\n\t</attributes>\n"
    "\t<buildtargets>\n\t\t<buildtarget name=\"app\" passAttributes=\"true\" type=\"DownloadableKernelModule\">\n"
    "\t\t\t<contents>\n\t\t\t\t<folder name=\"/App\" recursive=\"true\"/>\n\t\t\t</contents>\n"
    "\t\t</buildtarget>\n\t</buildtargets>\n</wrxsdproject>\n";

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

QString example(const QString& path) {
  return native(requiredEnvironment("PLOVIK_EXAMPLES") + u'/' + path);
}

struct Asked {
  int exitCode = -1;
  QJsonObject document;
};

// The real converter asked directly, with the arguments the wizard would pass.
Asked askPlovik(const QStringList& arguments) {
  QProcess plovik;
  plovik.start(requiredEnvironment("PLOVIK_EXE"), arguments + QStringList{"-describe"});
  if (!plovik.waitForFinished(20000)) return {};
  return {plovik.exitCode(), QJsonDocument::fromJson(plovik.readAllStandardOutput()).object()};
}

QStringList strings(const QJsonValue& value) {
  QStringList list;
  for (const QJsonValue& item : value.toArray()) list << item.toString();
  return list;
}

// The wizard on Page 2, real-project mode on, with the answer about `paths` in.
bool prepare(Vaskel& wizard, const Page0Paths& paths) {
  wizard.converterPath = requiredEnvironment("PLOVIK_EXE");
  fillPage0(wizard, paths, QStringLiteral("Typed"));
  wizard.WorkbenchBox->setChecked(true);
  wizard.show();
  return waitForAnswer(wizard);
}

}  // namespace

class AgreementTest : public QObject {
  Q_OBJECT

 private slots:
  void theSameFiles_data() {
    QTest::addColumn<QByteArray>("project");
    QTest::addColumn<QString>("name");     // what the Name field shows; empty: editable, typed
    QTest::addColumn<QString>("refusal");  // the converter's refusal, shown on the page
    QTest::newRow("a name with spaces around it")
        << kProjectHead + "\t<name> My App </name>\n" + kProjects + kBuildSpec + "</projectDescription>\n"
        << "My App " << "";
    QTest::newRow("the build commands before the name")
        << kProjectHead + kBuildSpec + "\t<name>App</name>\n" + kProjects + "</projectDescription>\n"
        << "" << "WR Project file parsing encountered unexpected token: buildSpec";
    QTest::newRow("no name")
        << kProjectHead + kProjects + "</projectDescription>\n" << "" << "";
  }

  void theSameFiles() {
    QFETCH(QByteArray, project);
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    WorkingFolder folder;
    const Page0Paths paths{native(folder.writeFile(QStringLiteral("ws/App/.project"), project)),
                           native(folder.writeFile(QStringLiteral("ws/App/.wrproject"), kWrProject)),
                           native(folder.makeFolder(QStringLiteral("ws"))),
                           native(folder.makeFolder(QStringLiteral("out")))};
    folder.writeFile(QStringLiteral("ws/App/main.c"), "int main(void) { return 0; }\n");
    Vaskel wizard;
    QVERIFY(prepare(wizard, paths));
    const Asked asked = askPlovik(wizard.conversionArguments(true));
    QCOMPARE(asked.exitCode, refusal.isEmpty() ? 0 : 1);

    // The name: the converter's where the .project gives one, else the typed one.
    QCOMPARE(wizard.OlvNameEdit->text(), name.isEmpty() ? QStringLiteral("Typed") : name);
    QCOMPARE(wizard.OlvNameEdit->isReadOnly(), !name.isEmpty());
    QCOMPARE(wizard.ProjectStatusLabel->toolTip(), refusal);
    QCOMPARE(asked.document["failure"].toString(), refusal);
    if (!refusal.isEmpty()) return;

    // Every build spec the converter knows, the key-only one included, and
    // each of them accepted by it; no other.
    QCOMPARE(comboItems(wizard.SpecCombo), (QStringList{"A", "B", "C", "D"}));
    QCOMPARE(comboItems(wizard.SpecCombo), strings(asked.document["buildSpecs"]["known"]));
    QCOMPARE(wizard.SpecCombo->currentText(), QStringLiteral("B"));
    for (const QString& spec : comboItems(wizard.SpecCombo)) {
      wizard.SpecCombo->setCurrentText(spec);
      QCOMPARE(askPlovik(wizard.conversionArguments(true)).exitCode, 0);
    }
    QCOMPARE(comboItems(wizard.TargetCombo, 1), strings(asked.document["buildTargets"]["known"]));

    // The variables of build spec B, through one another.
    wizard.SpecCombo->setCurrentText(QStringLiteral("B"));
    QVERIFY(waitForAnswer(wizard));
    QStringList shown;
    for (int row = 0; row < wizard.VariablesTable->rowCount(); ++row)
      shown << wizard.VariablesTable->item(row, 0)->text() + u'=' +
                   wizard.VariablesTable->item(row, 2)->text();
    QCOMPARE(shown, (QStringList{"VSB_DIR=build macro", "PRJ_ROOT_DIR=Workbench"}));

    // The conversion uses the name shown.
    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(goToPage3(wizard));
    QVERIFY(finishAndWait(wizard));
#ifdef Q_OS_WIN
    // Windows makes no folder whose name ends in a space, which the
    // description does not foresee: the conversion of such a name fails.
    const bool converts = !wizard.OlvNameEdit->text().endsWith(u' ');
#else
    const bool converts = true;
#endif
    QCOMPARE(boxes.seen(), converts ? 0 : 1);
    QCOMPARE(QFile::exists(paths.output + native(u'/' + wizard.OlvNameEdit->text() + ".prj")),
             converts);
    if (!converts)
      QVERIFY(logLines(wizard).join(u'\n').contains(QStringLiteral("Could not create directory: ")));
  }

  // A file the converter cannot read: its own message, on the page.
  void aMissingBuildDescription() {
    WorkingFolder folder;
    Page0Paths paths = makePage0Paths(folder);
    folder.writeFile(QStringLiteral("ws/App/.project"),
                     kProjectHead + "\t<name>App</name>\n" + kProjects + "</projectDescription>\n");
    paths.wrProject = native(folder.filePath(QStringLiteral("ws/App/gone.wrproject")));
    Vaskel wizard;
    QVERIFY(prepare(wizard, paths));
    const Asked asked = askPlovik(wizard.conversionArguments(true));
    QCOMPARE(asked.exitCode, 1);
    QVERIFY(wizard.ProjectStatusLabel->toolTip().startsWith("Could not open file: "));
    QCOMPARE(wizard.ProjectStatusLabel->toolTip(), asked.document["failure"].toString());
  }

  // The VxWorks 7 example: exactly the variables the converter names, the
  // unresolved ones marked.
  void theVariablesOfAVxWorks7Project() {
    WorkingFolder folder;
    Vaskel wizard;
    QVERIFY(prepare(wizard, {example(QStringLiteral("vxworks7/Motor/.project")),
                             example(QStringLiteral("vxworks7/Motor/.wrproject")),
                             example(QStringLiteral("vxworks7")),
                             native(folder.makeFolder(QStringLiteral("out")))}));
    const Asked asked = askPlovik(wizard.conversionArguments(true));
    QStringList expected;
    for (const QJsonValue& variable : asked.document["variables"].toArray())
      expected << variable["name"].toString() + u'|' + variable["source"].toString();
    QVERIFY(expected.contains(QStringLiteral("WIND_HOME|unresolved")));
    QVERIFY(expected.contains(QStringLiteral("VSB_DIR|build macro")));
    QStringList shown;
    for (int row = 0; row < wizard.VariablesTable->rowCount(); ++row) {
      shown << wizard.VariablesTable->item(row, 0)->text() + u'|' +
                   wizard.VariablesTable->item(row, 2)->text();
      const bool unresolved = wizard.VariablesTable->item(row, 2)->text() == "unresolved";
      QCOMPARE(wizard.VariablesTable->item(row, 0)->foreground().color() == QColor(200, 0, 0),
               unresolved);
    }
    QCOMPARE(shown, expected);
  }

  // A whole conversion of the example workbench project through the wizard,
  // with a build target, a variable's value and a compilation database.
  void aConversionWithATargetVariablesAndADatabase() {
    WorkingFolder folder;
    const QString output = native(folder.makeFolder(QStringLiteral("out")));
    Vaskel wizard;
    wizard.cCheck->setChecked(true);
    wizard.hCheck->setChecked(true);
    wizard.CdbCheck->setChecked(true);
    QVERIFY(prepare(wizard, {example(QStringLiteral("workbench/Sensor/.project")),
                             example(QStringLiteral("workbench/Sensor/.wrproject")),
                             example(QStringLiteral("workbench")), output}));
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("Sensor"));
    QCOMPARE(comboItems(wizard.SpecCombo), (QStringList{"PPC32diab", "PPC32gnu"}));
    QCOMPARE(wizard.SpecCombo->currentText(), QStringLiteral("PPC32gnu"));
    QCOMPARE(comboItems(wizard.TargetCombo), (QStringList{"all targets", "sensor_app", "sensor_test"}));
    wizard.SpecCombo->setCurrentText(QStringLiteral("PPC32diab"));
    wizard.TargetCombo->setCurrentText(QStringLiteral("sensor_app"));
    QVERIFY(waitForAnswer(wizard));
    const QList<QTableWidgetItem*> windBase =
        wizard.VariablesTable->findItems(QStringLiteral("WIND_BASE"), Qt::MatchExactly);
    QCOMPARE(windBase.size(), 1);
    const int row = windBase.first()->row();
    QCOMPARE(wizard.VariablesTable->item(row, 2)->text(), QStringLiteral("unresolved"));
    wizard.VariablesTable->item(row, 1)->setText(QStringLiteral("/opt/windriver/vxworks"));
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(wizard.VariablesTable->item(row, 2)->text(), QStringLiteral("-var"));

    ModalWatcher<QMessageBox> boxes([](QMessageBox* box) { box->accept(); });
    QVERIFY(goToPage3(wizard));
    QVERIFY(finishAndWait(wizard));
    QCOMPARE(boxes.seen(), 0);
    QCOMPARE(filesUnder(output),
             (QStringList{"Sensor.prj", "compile_commands.json", "person/Sensor.p_a",
                          "person/Sensor.p_c", "person/Sensor.p_s"}));
    // Build spec PPC32diab, WIND_BASE given: no warning about it.
    const QString analyser = QString::fromLocal8Bit(folder.readFile("out/person/Sensor.p_a"));
    QVERIFY(analyser.contains(QStringLiteral("DIAB_ONLY")));
    QVERIFY(analyser.contains(QStringLiteral("/opt/windriver/vxworks/target/h")));
    QVERIFY(!logLines(wizard).join(u'\n').contains(QStringLiteral("unresolved variable WIND_BASE")));
    // Target sensor_app leaves out the test's main file, in the project and the database.
    const QString projectFile = QString::fromLocal8Bit(folder.readFile("out/Sensor.prj"));
    QVERIFY(projectFile.contains(QStringLiteral("app_main.c")));
    QVERIFY(!projectFile.contains(QStringLiteral("test_main.c")));
    const QJsonArray entries =
        QJsonDocument::fromJson(folder.readFile("out/compile_commands.json")).array();
    QVERIFY(!entries.isEmpty());
    QStringList files;
    for (const QJsonValue& entry : entries) files << QFileInfo(entry["file"].toString()).fileName();
    QVERIFY(files.contains(QStringLiteral("app_main.c")));
    QVERIFY(!files.contains(QStringLiteral("test_main.c")));
  }
};

QTEST_MAIN(AgreementTest)
#include "vaskel_agreement_test.moc"
