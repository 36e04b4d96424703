// Page 2's real-project mode: the build specs offered from the chosen
// .wrproject, the variables table, the command line and the summary.
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

QByteArray wrProject(const QByteArray& defaultSpec, const QList<QByteArray>& specs) {
  QByteArray content = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<wrxsdproject>\n<attributes>\n";
  if (!defaultSpec.isNull())
    content += "\t<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"" + defaultSpec + "\"/>\n";
  content += "\t<listAttribute key=\"BLD::Info|specs\">\n";
  for (const QByteArray& spec : specs) content += "\t\t<stringAttribute value=\"" + spec + "\"/>\n";
  content += "\t</listAttribute>\n</attributes>\n</wrxsdproject>\n";
  return content;
}

QStringList comboItems(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

// The wizard on Page 2 with Page 0 filled for `folder`, whose .wrproject
// holds `content`.
bool toPage2(Vaskel& wizard, const WorkingFolder& folder, const QByteArray& content,
             Page0Paths* filled = nullptr) {
  const Page0Paths paths = makePage0Paths(folder);
  if (filled) *filled = paths;
  folder.writeFile(QStringLiteral("ws/App/.wrproject"), content);
  fillPage0(wizard, paths, QStringLiteral("P"));
  wizard.show();
  return clickNext(wizard) && clickNext(wizard) && wizard.currentPage() == wizard.Page2;
}

void setVariable(Vaskel& wizard, int row, const QString& name, const QString& value) {
  wizard.VariablesTable->item(row, 0)->setText(name);
  wizard.VariablesTable->item(row, 1)->setText(value);
}

QStringList recordedArguments(const WorkingFolder& folder) {
  QString text = QString::fromLocal8Bit(folder.readFile(QStringLiteral("arguments.txt")));
  text.chop(1);
  return text.split(u'\n');
}

}  // namespace

class ModeTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { qunsetenv("WIND_BASE"); }

  void specListOfAMultiSpecProject() {
    WorkingFolder folder;
    Vaskel wizard;
    QVERIFY(toPage2(wizard, folder, wrProject("PPC32gnu", {"PPC32diab", "PPC32gnu", "SIMNTgnu"})));
    QVERIFY(!wizard.WorkbenchBox->isChecked());
    QCOMPARE(comboItems(wizard.SpecCombo), (QStringList{"PPC32diab", "PPC32gnu", "SIMNTgnu"}));
    QCOMPARE(wizard.SpecCombo->currentText(), QStringLiteral("PPC32gnu"));
    wizard.WorkbenchBox->setChecked(true);
    QVERIFY(wizard.SpecCombo->isEnabled());

    // Back and forward again keeps the choice...
    wizard.SpecCombo->setCurrentIndex(2);
    wizard.back();
    QVERIFY(clickNext(wizard));
    QCOMPARE(wizard.SpecCombo->currentText(), QStringLiteral("SIMNTgnu"));

    // ...and another .wrproject is read afresh: its default where the choice
    // is not among its specs, the first where it names none.
    const QString other = folder.writeFile(QStringLiteral("ws/B/.wrproject"),
                                           wrProject(QByteArray(), {"ARMgnu", "ARMdiab"}));
    wizard.back();
    wizard.back();
    wizard.WRProjectEdit->setText(other);
    QVERIFY(clickNext(wizard) && clickNext(wizard));
    QCOMPARE(comboItems(wizard.SpecCombo), (QStringList{"ARMgnu", "ARMdiab"}));
    QCOMPARE(wizard.SpecCombo->currentText(), QStringLiteral("ARMgnu"));
  }

  void anUnreadableWrProjectLeavesTheChoiceToTheConverter() {
    WorkingFolder folder;
    Vaskel wizard;
    QVERIFY(toPage2(wizard, folder, "this is <not markup"));
    QCOMPARE(wizard.SpecCombo->count(), 0);
    QCOMPARE(wizard.SpecCombo->currentIndex(), -1);
    QVERIFY(wizard.WorkbenchBox->isEnabled());
    wizard.WorkbenchBox->setChecked(true);
    QVERIFY(wizard.WorkbenchBox->isChecked());
    QVERIFY(!wizard.SpecCombo->isEnabled());
    QVERIFY(wizard.VariablesTable->isEnabled());
    QVERIFY(clickNext(wizard));
    QVERIFY(wizard.DetailsText->toPlainText().endsWith(
        "\nWorkbench Build Spec:\n(chosen by Plovik)\n\nWorkbench Variables:\n\n"));
  }

  void commandLine_data() {
    QTest::addColumn<bool>("mode");
    QTest::addColumn<int>("spec");               // the index to choose; -1 leaves the default
    QTest::addColumn<QStringList>("variables");  // name, value pairs for the rows after WIND_BASE
    QTest::addColumn<QStringList>("added");      // what follows today's command line
    QTest::newRow("off: today's command line")
        << false << 1 << QStringList{"X", "1"} << QStringList{};
    QTest::newRow("on, the default spec")
        << true << -1 << QStringList{} << QStringList{"-wb", "-spec", "B"};
    QTest::newRow("on, another spec and variables")
        << true << 0 << QStringList{" VSB_DIR ", "/v s b", "OPT", "a=b"}
        << QStringList{"-wb", "-spec", "A", "-var", "VSB_DIR=/v s b", "-var", "OPT=a=b"};
    QTest::newRow("rows without a name or a value are left out")
        << true << -1 << QStringList{"", "lost", "EMPTY", "", "  ", "x"}
        << QStringList{"-wb", "-spec", "B"};
  }

  void commandLine() {
    QFETCH(bool, mode);
    QFETCH(int, spec);
    QFETCH(QStringList, variables);
    QFETCH(QStringList, added);
    WorkingFolder folder;
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    Page0Paths paths;
    QVERIFY(toPage2(wizard, folder, wrProject("B", {"A", "B"}), &paths));
    wizard.WorkbenchBox->setChecked(mode);
    if (spec >= 0) wizard.SpecCombo->setCurrentIndex(spec);
    for (int i = 0; i + 1 < variables.size(); i += 2)
      setVariable(wizard, 1 + i / 2, variables[i], variables[i + 1]);
    QVERIFY(clickNext(wizard));
    QVERIFY(finishAndWait(wizard));
    QCOMPARE(recordedArguments(folder), (QStringList{paths.project, paths.wrProject,
                                                     paths.workspace, paths.output, "-pn", "P"} +
                                         added));
  }

  // WIND_BASE is offered first, with its value from the environment.
  void windBaseFromTheEnvironmentIsPassedAndSummarised() {
    qputenv("WIND_BASE", "/opt/wr");
    WorkingFolder folder;
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    QVERIFY(toPage2(wizard, folder, wrProject("B", {"A", "B"})));
    wizard.WorkbenchBox->setChecked(true);
    setVariable(wizard, 1, QStringLiteral("VSB_DIR"), QStringLiteral("/vsb"));
    QVERIFY(clickNext(wizard));
    QVERIFY(wizard.DetailsText->toPlainText().endsWith(
        "\nFile Extensions:\n\n\nWorkbench Build Spec:\nB\n\nWorkbench Variables:\n"
        "WIND_BASE=/opt/wr\nVSB_DIR=/vsb\n"));
    QVERIFY(finishAndWait(wizard));
    QCOMPARE(
        recordedArguments(folder).mid(6),
        (QStringList{"-wb", "-spec", "B", "-var", "WIND_BASE=/opt/wr", "-var", "VSB_DIR=/vsb"}));
  }
};

QTEST_MAIN(ModeTest)
#include "vaskel_mode_test.moc"
