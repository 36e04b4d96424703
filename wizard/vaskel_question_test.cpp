// Asking the converter: when a question goes out and when it does not, one
// question at a time, and a converter that never answers.
#include "vaskel_question.h"

#include <QLabel>
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

// A command that asks the stand-in with `arguments`.
std::function<ConverterQuestion::Command()> standinWith(const QStringList& arguments) {
  return [arguments] {
    return ConverterQuestion::Command{requiredEnvironment("VASKEL_STANDIN"), arguments};
  };
}

}  // namespace

class QuestionTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    qunsetenv("STANDIN_DESCRIBE");
    qunsetenv("STANDIN_DESCRIBE_EXIT");
    qunsetenv("STANDIN_DESCRIBE_HANG");
  }

  // Changes in a row ask once, when they pause, with the command as it then
  // stands; the question asked last is not asked again unless asked for, and
  // a command without a program asks nothing and says nothing.
  void whenAQuestionGoesOut() {
    WorkingFolder folder;
    QStringList arguments{"a"};
    bool named = true;
    QLabel status;
    ConverterQuestion question(
        [&] { return named ? standinWith(arguments)() : ConverterQuestion::Command(); }, {&status});
    question.delayMs = 50;
    QSignalSpy asked(&question, &ConverterQuestion::asked);
    QSignalSpy answered(&question, &ConverterQuestion::answered);

    question.schedule();
    arguments << "b";
    question.schedule();
    QCOMPARE(status.text(), QStringLiteral("Asking Plovik about the project ..."));
    QVERIFY(question.pending());
    QVERIFY(answered.wait(20000));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(describedArguments(folder), (QStringList{"a", "b", "-describe"}));
    QCOMPARE(status.text(), QString());
    QVERIFY(question.answer().has_value());

    question.schedule();  // the same question
    QVERIFY(!question.pending());
    question.askAgain();
    QVERIFY(answered.wait(20000));
    QCOMPARE(asked.size(), 2);

    question.schedule();
    named = false;
    question.schedule();
    QVERIFY(!question.pending());
    QTest::qWait(100);
    QCOMPARE(asked.size(), 2);
    QCOMPARE(status.toolTip(), QString());
  }

  // An exit status of 1 comes with the failure the document names; one
  // without is reported all the same.
  void theExitStatusWithoutAFailure() {
    WorkingFolder folder;
    answerWith(folder, {});
    qputenv("STANDIN_DESCRIBE_EXIT", "1");
    ConverterQuestion run(standinWith({"a", "b", "c", "d"}), {});
    QSignalSpy answered(&run, &ConverterQuestion::answered);
    run.ask();
    QVERIFY(answered.wait(20000));
    QCOMPARE(answered.first().first().value<ProjectDescription>().failure,
             QStringLiteral("Plovik ended with exit status 1"));
    QCOMPARE(describedArguments(folder), (QStringList{"a", "b", "c", "d", "-describe"}));
  }

  // A newer question ends the older run; only the newer one answers.
  void aNewQuestionEndsTheOldOne() {
    WorkingFolder folder;
    qputenv("STANDIN_DESCRIBE_HANG", "1");
    QStringList arguments{"old"};
    ConverterQuestion run([&] { return standinWith(arguments)(); }, {});
    QSignalSpy answered(&run, &ConverterQuestion::answered);
    QSignalSpy noAnswer(&run, &ConverterQuestion::noAnswer);
    run.ask();
    QPointer<QProcess> old = run.currentProcess();
    QTRY_COMPARE(old->state(), QProcess::Running);
    qunsetenv("STANDIN_DESCRIBE_HANG");
    arguments = QStringList{"new"};
    run.ask();
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
    wizard.question->timeoutMs = 1500;
    wizard.show();
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    QTRY_VERIFY(wizard.question->running());
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
    QTRY_VERIFY(wizard.question->running());
    QPointer<QProcess> hanging = wizard.question->currentProcess();
    QTRY_COMPARE(hanging->state(), QProcess::Running);
    QElapsedTimer clock;
    clock.start();
    wizard.button(QWizard::CancelButton)->click();
    QVERIFY(!wizard.isVisible());
    QVERIFY(clock.elapsed() < 1000);
    QTRY_VERIFY(hanging.isNull());
  }

};

QTEST_MAIN(QuestionTest)
#include "vaskel_question_test.moc"
