// Asking the converter: reading its answer, one question at a time, a
// converter that never answers, and Vaskel's own --version and --help.
#include "vaskel_describe.h"

#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

class DescribeTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    qunsetenv("STANDIN_DESCRIBE");
    qunsetenv("STANDIN_DESCRIBE_EXIT");
    qunsetenv("STANDIN_DESCRIBE_HANG");
  }

  void parse_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("error");  // empty: read
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("namedByProject");
    QTest::addColumn<QStringList>("specs");
    QTest::addColumn<QString>("failure");
    CannedDescription full;
    full.name = QStringLiteral("Sensor");
    full.from = QStringLiteral(".project");
    full.specs = QStringList{"PPC32diab", "PPC32gnu"};
    CannedDescription failing;
    failing.failure = QStringLiteral("Could not open file: /ws/App/.wrproject");
    QTest::newRow("a whole answer") << cannedJson(full) << "" << "Sensor" << true
                                    << QStringList{"PPC32diab", "PPC32gnu"} << "";
    QTest::newRow("a failure, with what was read before it")
        << cannedJson(failing) << "" << "" << false << QStringList{} << failing.failure;
    QTest::newRow("a name that is not ASCII, and a null default")
        << QByteArray("{\"version\": 1, \"project\": {\"name\": \"\\u00d8sterby\", \"from\": \"-pn\"},"
                      " \"buildSpecs\": {\"known\": [\"A\"], \"default\": null}}")
        << "" << QStringLiteral("\u00d8sterby") << false << QStringList{"A"} << "";
    QTest::newRow("a later format") << QByteArray("{\"version\": 2}")
                                    << "Plovik described the project in a format this Vaskel does "
                                       "not know (version 2)"
                                    << "" << false << QStringList{} << "";
    QTest::newRow("a converter that converts instead")
        << QByteArray("Creating Olvex/Olvex++ Project ...\r\n  Creating Group - App\r\n")
        << "Plovik gave no description: Creating Olvex/Olvex++ Project ..." << "" << false
        << QStringList{} << "";
  }

  void parse() {
    QFETCH(QByteArray, answer);
    QFETCH(QString, error);
    QFETCH(QString, name);
    QFETCH(bool, namedByProject);
    QFETCH(QStringList, specs);
    QFETCH(QString, failure);
    QString why;
    const std::optional<ProjectDescription> read = parseDescription(answer, &why);
    QCOMPARE(why, error);
    QCOMPARE(read.has_value(), error.isEmpty());
    if (!read) return;
    QCOMPARE(read->projectName, name);
    QCOMPARE(read->namedByProject(), namedByProject);
    QCOMPARE(read->knownSpecs, specs);
    QCOMPARE(read->failure, failure);
  }

  // An exit status of 1 comes with the failure the document names; one
  // without is reported all the same.
  void theExitStatusWithoutAFailure() {
    WorkingFolder folder;
    answerWith(folder, {});
    qputenv("STANDIN_DESCRIBE_EXIT", "1");
    DescribeRun run;
    QSignalSpy answered(&run, &DescribeRun::answered);
    run.ask(requiredEnvironment("VASKEL_STANDIN"), {"a", "b", "c", "d"});
    QVERIFY(answered.wait(20000));
    QCOMPARE(answered.first().first().value<ProjectDescription>().failure,
             QStringLiteral("Plovik ended with exit status 1"));
    QCOMPARE(describedArguments(folder), (QStringList{"a", "b", "c", "d", "-describe"}));
  }

  // A newer question ends the older run; only the newer one answers.
  void aNewQuestionEndsTheOldOne() {
    WorkingFolder folder;
    qputenv("STANDIN_DESCRIBE_HANG", "1");
    DescribeRun run;
    QSignalSpy answered(&run, &DescribeRun::answered);
    QSignalSpy noAnswer(&run, &DescribeRun::noAnswer);
    run.ask(requiredEnvironment("VASKEL_STANDIN"), {"old"});
    QPointer<QProcess> old = run.currentProcess();
    QTRY_COMPARE(old->state(), QProcess::Running);
    qunsetenv("STANDIN_DESCRIBE_HANG");
    run.ask(requiredEnvironment("VASKEL_STANDIN"), {"new"});
    QVERIFY(answered.wait(20000));
    QTRY_VERIFY(old.isNull());  // ended and gone, without anyone waiting for it
    QCOMPARE(answered.size(), 1);
    QCOMPARE(noAnswer.size(), 0);
  }

  // A converter stuck on its input (a FIFO, a share that went away): the
  // window keeps working, the page says so when the time is up, and Cancel
  // closes the wizard at once all the same.
  void aConverterThatNeverAnswers() {
    WorkingFolder folder;
    qputenv("STANDIN_DESCRIBE_HANG", "1");
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    wizard.describeRun->timeoutMs = 1500;
    wizard.show();
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    QTRY_VERIFY(wizard.describeRun->running());
    QCOMPARE(wizard.ProjectStatusLabel->text(), QStringLiteral("Asking Plovik about the project ..."));
    // Responding: typing and Next work while the converter is silent.
    QTest::keyClicks(wizard.OlvNameEdit, QStringLiteral("Q"));
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("PQ"));
    QVERIFY(clickNext(wizard));
    QVERIFY(clickNext(wizard));
    QTRY_COMPARE_WITH_TIMEOUT(wizard.DescribeStatusLabel->toolTip(),
                              QStringLiteral("Plovik did not answer within 1.5 seconds; it was stopped"),
                              20000);
    QVERIFY(!wizard.describing());

    // Asked again, and cancelled while it hangs.
    wizard.CustExtEdit->setText(QStringLiteral("c"));
    QTRY_VERIFY(wizard.describeRun->running());
    QPointer<QProcess> hanging = wizard.describeRun->currentProcess();
    QTRY_COMPARE(hanging->state(), QProcess::Running);
    QElapsedTimer clock;
    clock.start();
    wizard.button(QWizard::CancelButton)->click();
    QVERIFY(!wizard.isVisible());
    QVERIFY(clock.elapsed() < 1000);
    QTRY_VERIFY(hanging.isNull());
  }

  void versionAndHelp_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("start");
    QTest::newRow("--version") << "--version" << "Vaskel 1.";
    QTest::newRow("-v") << "-v" << "Vaskel 1.";
    QTest::newRow("--help") << "--help" << "Usage: ";
  }

  // Answered on standard output without a window (no platform is needed).
  void versionAndHelp() {
    QFETCH(QString, option);
    QFETCH(QString, start);
    QProcess vaskel;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    vaskel.setProcessEnvironment(environment);
    vaskel.start(requiredEnvironment("VASKEL_EXE"), {option});
    QVERIFY(vaskel.waitForFinished(20000));
    QCOMPARE(vaskel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(vaskel.exitCode(), 0);
    const QString output = QString::fromLocal8Bit(vaskel.readAllStandardOutput());
    QVERIFY2(output.startsWith(start), qPrintable(output));
    if (option == "--help") {
      QVERIFY(output.contains("--version"));
      QVERIFY(output.contains("--help"));
    } else {
      QCOMPARE(output.trimmed().count(u'\n'), 0);
    }
  }
};

QTEST_MAIN(DescribeTest)
#include "vaskel_describe_test.moc"
