// The compilation database option: its command line, summary and problem,
// the file that follows the output folder, and the wizard's Next waiting for
// a file.
#include "vaskel_cdb.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

// The option over widgets of its own.
struct Option {
  QCheckBox check;
  QLineEdit file;
  QPushButton browse;
  QLineEdit destination;
  CompilationDatabase database{{&check, &file, &browse, &destination}};
};

QString defaultFileIn(const QString& folder) {
  return QDir::toNativeSeparators(folder + QStringLiteral("/compile_commands.json"));
}

}  // namespace

class DatabaseTest : public QObject {
  Q_OBJECT

 private slots:
  void whatTheOptionGives_data() {
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("problem");
    QTest::newRow("off") << false << "db.json" << QStringList{} << "" << "";
    QTest::newRow("on") << true << "db.json" << QStringList{"-cdb", "db.json"}
                        << "\nCompilation Database:\ndb.json\n" << "";
    QTest::newRow("on without a file")
        << true << "" << QStringList{} << "\nCompilation Database:\n\n"
        << "The compilation database file is not given.";
    QTest::newRow("a file named like an option")
        << true << "-describe" << QStringList{"-cdb", "-describe"}
        << "\nCompilation Database:\n-describe\n"
        << "The compilation database file \"-describe\" would be taken by Plovik for its option "
           "-describe; choose another file.";
  }

  void whatTheOptionGives() {
    QFETCH(bool, on);
    QFETCH(QString, file);
    QFETCH(QStringList, arguments);
    QFETCH(QString, summary);
    QFETCH(QString, problem);
    Option option;
    option.database.setOn(on);
    option.file.setText(file);
    QCOMPARE(option.database.arguments(), arguments);
    QCOMPARE(option.database.summary(), summary);
    QCOMPARE(option.database.problem(), problem);
    QCOMPARE(option.file.isEnabled(), on);
    QCOMPARE(option.browse.isEnabled(), on);
  }

  // The file follows the destination, and so is not remembered, until the
  // user chooses another; choosing the destination's own follows again.
  void theFileToRemember() {
    Option option;
    QSignalSpy changed(&option.database, &CompilationDatabase::changed);
    option.database.setOn(true);
    option.destination.setText(QStringLiteral("out"));
    QCOMPARE(option.file.text(), defaultFileIn("out"));
    QCOMPARE(option.database.ownFile(), std::nullopt);
    QVERIFY(changed.size() >= 2);  // the box and the file

    option.database.takeFile(QStringLiteral("db.json"));
    option.destination.setText(QStringLiteral("elsewhere"));
    QCOMPARE(option.file.text(), QStringLiteral("db.json"));
    QCOMPARE(option.database.ownFile(), QStringLiteral("db.json"));

    option.database.takeFile(defaultFileIn("elsewhere"));
    QCOMPARE(option.database.ownFile(), std::nullopt);
    option.destination.setText(QStringLiteral("third"));
    QCOMPARE(option.file.text(), defaultFileIn("third"));

    // Remembered as the user's own, even where it names the default.
    option.database.setOwnFile(defaultFileIn("third"));
    option.destination.setText(QStringLiteral("fourth"));
    QCOMPARE(option.database.ownFile(), defaultFileIn("third"));
  }

  // The database file follows the output folder until the user picks one;
  // with the box on, Next waits for a file.
  void theDatabaseFileFollowsTheOutputFolder() {
    WorkingFolder folder;
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    const Page0Paths paths = makePage0Paths(folder);
    fillPage0(wizard, paths, QStringLiteral("P"));
    wizard.show();
    QVERIFY(clickNext(wizard) && clickNext(wizard));
    QVERIFY(!wizard.CdbEdit->isEnabled());
    wizard.CdbCheck->setChecked(true);
    QVERIFY(wizard.CdbEdit->isEnabled());
    QCOMPARE(wizard.CdbEdit->text(), defaultFileIn(paths.output));
    wizard.OlvProjectEdit->setText(folder.makeFolder(QStringLiteral("out2")));
    QVERIFY(wizard.CdbEdit->text().endsWith(
        QDir::toNativeSeparators(QStringLiteral("out2/compile_commands.json"))));

    QTest::keyClicks(wizard.CdbEdit, QStringLiteral("x"));  // typed: no longer follows
    const QString typed = wizard.CdbEdit->text();
    wizard.OlvProjectEdit->setText(paths.output);
    QCOMPARE(wizard.CdbEdit->text(), typed);

    wizard.CdbEdit->clear();
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    wizard.CdbCheck->setChecked(false);
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
  }
};

QTEST_MAIN(DatabaseTest)
#include "vaskel_cdb_test.moc"
