// Page 2's real-project mode: the build specs, build targets and variables
// offered from the converter's answer, the values the user gives, the
// command line (with the compilation database beside it) and the summary.
// The converter is the stand-in here, answering with documents written for
// each case.
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

// The table as rows of "name|value|source".
QStringList tableRows(const QTableWidget* table) {
  QStringList rows;
  for (int row = 0; row < table->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < 3; ++column) cells << table->item(row, column)->text();
    rows << cells.join(u'|');
  }
  return rows;
}

CannedDescription twoSpecs() {
  CannedDescription answer;
  answer.specs = QStringList{"A", "B"};
  answer.defaultSpec = QStringLiteral("B");
  answer.targets = QStringList{"app", "test"};
  answer.variables = QStringList{"WIND_BASE", "", "unresolved",             //
                                 "PRJ_ROOT_DIR", "/ws/App", "Workbench",    //
                                 "CPU", "PPC32", "build macro"};
  return answer;
}

// The wizard on Page 2 with Page 0 filled and the stand-in answering `answer`.
bool toPage2(Vaskel& wizard, const WorkingFolder& folder, const CannedDescription& answer,
             Page0Paths* filled = nullptr) {
  wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
  answerWith(folder, answer);
  const Page0Paths paths = makePage0Paths(folder);
  if (filled) *filled = paths;
  fillPage0(wizard, paths, QStringLiteral("P"));
  wizard.show();
  return clickNext(wizard) && clickNext(wizard) && wizard.currentPage() == wizard.Page2 &&
         waitForAnswer(wizard);
}

}  // namespace

class ModeTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    qunsetenv("STANDIN_DESCRIBE_EXIT");
    qunsetenv("STANDIN_DESCRIBE_HANG");
  }

  void theListsHoldWhatTheConverterNamed() {
    WorkingFolder folder;
    Vaskel wizard;
    QVERIFY(toPage2(wizard, folder, twoSpecs()));
    QVERIFY(!wizard.WorkbenchBox->isChecked());
    QCOMPARE(comboItems(wizard.SpecCombo), (QStringList{"A", "B"}));
    QCOMPARE(wizard.SpecCombo->currentText(), QStringLiteral("B"));
    QCOMPARE(comboItems(wizard.TargetCombo), (QStringList{"all targets", "app", "test"}));
    QCOMPARE(wizard.TargetCombo->currentIndex(), 0);
    QVERIFY(wizard.DescribeStatusLabel->text().isEmpty());

    QVERIFY(!wizard.SpecCombo->isEnabled());  // the box is off
    wizard.WorkbenchBox->setChecked(true);
    QVERIFY(waitForAnswer(wizard));
    QVERIFY(wizard.SpecCombo->isEnabled());
    QVERIFY(wizard.TargetCombo->isEnabled());
    QCOMPARE(tableRows(wizard.VariablesTable),
             (QStringList{"WIND_BASE||unresolved", "PRJ_ROOT_DIR|/ws/App|Workbench",
                          "CPU|PPC32|build macro"}));
    QCOMPARE(wizard.VariablesTable->item(0, 0)->foreground().color(), QColor(200, 0, 0));
    QVERIFY(!(wizard.VariablesTable->item(0, 0)->flags() & Qt::ItemIsEditable));
    QVERIFY(wizard.VariablesTable->item(0, 1)->flags() & Qt::ItemIsEditable);
    // The question carries the mode's choices as a conversion would.
    QCOMPARE(describedArguments(folder).mid(6),
             (QStringList{"-wb", "-spec", "B", "-describe"}));

    // Another answer: the choice stays where it is still offered, else the
    // default, else the first; a target no longer known gives all targets.
    wizard.SpecCombo->setCurrentIndex(0);
    wizard.TargetCombo->setCurrentIndex(2);
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(describedArguments(folder).mid(6),
             (QStringList{"-wb", "-spec", "A", "-target", "test", "-describe"}));
    CannedDescription other;
    other.specs = QStringList{"ARMgnu", "ARMdiab"};
    other.targets = QStringList{"app"};
    answerWith(folder, other);
    wizard.CustExtEdit->setText(QStringLiteral("s"));  // any change asks again
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(comboItems(wizard.SpecCombo), (QStringList{"ARMgnu", "ARMdiab"}));
    QCOMPARE(wizard.SpecCombo->currentText(), QStringLiteral("ARMgnu"));
    QCOMPARE(wizard.TargetCombo->currentIndex(), 0);
    QCOMPARE(wizard.VariablesTable->rowCount(), 0);
  }

  // A value typed is the user's: passed with -var, asked about again, and
  // shown as given; emptied, it goes back to the converter's lookup.
  void typedValuesArePassedAndAskedAbout() {
    WorkingFolder folder;
    Vaskel wizard;
    QVERIFY(toPage2(wizard, folder, twoSpecs()));
    wizard.WorkbenchBox->setChecked(true);
    QVERIFY(waitForAnswer(wizard));
    CannedDescription given = twoSpecs();
    given.variables[1] = QStringLiteral("/opt/wr");
    given.variables[2] = QStringLiteral("-var");
    answerWith(folder, given);
    wizard.VariablesTable->item(0, 1)->setText(QStringLiteral("/opt/wr"));
    // The value the converter found, left as it was, is not passed.
    wizard.VariablesTable->item(2, 1)->setText(QStringLiteral("PPC32"));
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(describedArguments(folder).mid(6),
             (QStringList{"-wb", "-spec", "B", "-var", "WIND_BASE=/opt/wr", "-describe"}));
    QCOMPARE(tableRows(wizard.VariablesTable).first(), QStringLiteral("WIND_BASE|/opt/wr|-var"));

    answerWith(folder, twoSpecs());
    wizard.VariablesTable->item(0, 1)->setText(QString());
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(describedArguments(folder).mid(6), (QStringList{"-wb", "-spec", "B", "-describe"}));
    QCOMPARE(tableRows(wizard.VariablesTable).first(), QStringLiteral("WIND_BASE||unresolved"));
  }

  void commandLine_data() {
    QTest::addColumn<bool>("mode");
    QTest::addColumn<int>("spec");     // the index to choose; -1 leaves the default
    QTest::addColumn<int>("target");   // the index to choose; 0 is all targets
    QTest::addColumn<QString>("value");  // typed for WIND_BASE
    QTest::addColumn<bool>("database");
    QTest::addColumn<QStringList>("added");  // what follows the -pn option; @db the default database
    QTest::newRow("off: today's command line")
        << false << 0 << 1 << "x" << false << QStringList{};
    QTest::newRow("on, the default spec")
        << true << -1 << 0 << "" << false << QStringList{"-wb", "-spec", "B"};
    QTest::newRow("on, another spec, a target and a value")
        << true << 0 << 1 << "/v s b" << false
        << QStringList{"-wb", "-spec", "A", "-var", "WIND_BASE=/v s b", "-target", "app"};
    QTest::newRow("the database, without the mode")
        << false << -1 << 0 << "" << true
        << QStringList{"-cdb", "@db"};
    QTest::newRow("the database before the mode's options")
        << true << -1 << 2 << "" << true
        << QStringList{"-cdb", "@db", "-wb", "-spec", "B", "-target", "test"};
  }

  void commandLine() {
    QFETCH(bool, mode);
    QFETCH(int, spec);
    QFETCH(int, target);
    QFETCH(QString, value);
    QFETCH(bool, database);
    QFETCH(QStringList, added);
    WorkingFolder folder;
    Vaskel wizard;
    Page0Paths paths;
    QVERIFY(toPage2(wizard, folder, twoSpecs(), &paths));
    wizard.WorkbenchBox->setChecked(mode);
    QVERIFY(waitForAnswer(wizard));
    if (spec >= 0) wizard.SpecCombo->setCurrentIndex(spec);
    wizard.TargetCombo->setCurrentIndex(target);
    if (mode) wizard.VariablesTable->item(0, 1)->setText(value);
    wizard.CdbCheck->setChecked(database);
    QVERIFY(clickNext(wizard));
    QVERIFY(finishAndWait(wizard));
    QStringList expected{paths.project, paths.wrProject, paths.workspace, paths.output, "-pn", "P"};
    const QString defaultFile =
        QDir::toNativeSeparators(paths.output + QStringLiteral("/compile_commands.json"));
    for (const QString& argument : added) expected << (argument == "@db" ? defaultFile : argument);
    QCOMPARE(recordedArguments(folder), expected);
  }

  void theSummaryNamesTheChoices() {
    WorkingFolder folder;
    Vaskel wizard;
    QVERIFY(toPage2(wizard, folder, twoSpecs()));
    wizard.WorkbenchBox->setChecked(true);
    QVERIFY(waitForAnswer(wizard));
    wizard.TargetCombo->setCurrentIndex(1);
    wizard.VariablesTable->item(0, 1)->setText(QStringLiteral("/opt/wr"));
    wizard.CdbCheck->setChecked(true);
    wizard.CdbEdit->setText(QStringLiteral("db.json"));
    QVERIFY(clickNext(wizard));
    QVERIFY(wizard.DetailsText->toPlainText().endsWith(
        "\nFile Extensions:\n\n\nCompilation Database:\ndb.json\n\nWorkbench Build Spec:\nB\n\n"
        "Workbench Build Target:\napp\n\nWorkbench Variables:\nWIND_BASE=/opt/wr\n"));
  }

  // Without an answer there is nothing to offer: the converter chooses.
  void withoutAnAnswerTheConverterChooses() {
    WorkingFolder folder;
    Vaskel wizard;
    QVERIFY(toPage2(wizard, folder, twoSpecs()));
    QCOMPARE(wizard.SpecCombo->count(), 2);
    qputenv("STANDIN_DESCRIBE", folder.writeFile(QStringLiteral("bad.json"), "Usage: nothing").toLocal8Bit());
    wizard.WorkbenchBox->setChecked(true);
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(wizard.SpecCombo->count(), 0);
    QVERIFY(!wizard.SpecCombo->isEnabled());
    QVERIFY(!wizard.TargetCombo->isEnabled());
    QCOMPARE(comboItems(wizard.TargetCombo), QStringList{"all targets"});
    QCOMPARE(wizard.DescribeStatusLabel->toolTip(),
             QStringLiteral("Plovik gave no description: Usage: nothing"));
    QVERIFY(clickNext(wizard));
    QVERIFY(wizard.DetailsText->toPlainText().endsWith(
        "\nWorkbench Build Spec:\n(chosen by Plovik)\n\nWorkbench Build Target:\nall targets\n\n"
        "Workbench Variables:\n\n"));
  }
};

QTEST_MAIN(ModeTest)
#include "vaskel_mode_test.moc"
