// The status lines: each page says in words what keeps its Next disabled,
// values the converter would take for its options are refused, the paths are
// checked again when the window comes back, paths that look like markup are
// shown as written, and a .project outside the
// workspace offers the folders above it.
#include <QtTest>
#include <QTextDocument>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

// The words a user sees for `text` drawn in `format`: Qt takes an AutoText
// (as every tool tip is) that looks like markup for rich text.
QString seen(const QString& text, Qt::TextFormat format = Qt::AutoText) {
  if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text))) return text;
  QTextDocument document;
  document.setHtml(text);
  return document.toPlainText().replace(QChar(0x2028), u'\n');
}

}  // namespace

class StatusTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    qunsetenv("STANDIN_DESCRIBE");
    qunsetenv("STANDIN_PROJECTS");
  }

  void theStatusLineNamesWhatKeepsNextDisabled_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");  // @ for the working folder
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("status");
    QTest::newRow("a workspace that is not there")
        << "workspace" << "@/gone" << 0 << "The workspace folder does not exist: @/gone";
    QTest::newRow("a name the converter takes for an option")
        << "name" << "-describe" << 0
        << "The name \"-describe\" would be taken by Plovik for its option -describe; choose "
           "another name.";
    QTest::newRow("a name that only looks like one") << "name" << "-x" << 0 << "";
    QTest::newRow("a personality that is not there")
        << "message" << "@/m.p_s" << 1 << "The message personality does not exist: @/m.p_s";
    QTest::newRow("extensions the converter takes for an option")
        << "custom" << "-wb" << 2
        << "The extension list \"-wb\" would be taken by Plovik for its option -wb; change the "
           "extensions.";
    QTest::newRow("a build spec named like an option")
        << "spec" << "-describe" << 2
        << "The build spec \"-describe\" would be taken by Plovik for its option -describe; "
           "choose another build spec.";
    QTest::newRow("a build target named like an option")
        << "target" << "-cdb" << 2
        << "The build target \"-cdb\" would be taken by Plovik for its option -cdb; choose "
           "another build target.";
  }

  void theStatusLineNamesWhatKeepsNextDisabled() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, page);
    QFETCH(QString, status);
    WorkingFolder folder;
    value.replace(u'@', folder.path());
    status.replace(u'@', folder.path());
    CannedDescription answer;
    if (field == QLatin1String("spec")) answer.specs = QStringList{value};
    if (field == QLatin1String("target")) answer.targets = QStringList{value};
    answerWith(folder, answer);
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.WorkbenchBox->setChecked(true);
    wizard.show();
    QVERIFY(waitForAnswer(wizard));
    for (int i = 0; i < page; ++i) QVERIFY(clickNext(wizard));

    if (field == QLatin1String("workspace")) wizard.WRWorkspaceDirEdit->setText(value);
    if (field == QLatin1String("name")) wizard.OlvNameEdit->setText(value);
    if (field == QLatin1String("message")) wizard.MsgPersonEdit->setText(value);
    if (field == QLatin1String("custom")) wizard.CustExtEdit->setText(value);
    if (field == QLatin1String("target")) wizard.TargetCombo->setCurrentIndex(1);

    const QList<QLabel*> lines{wizard.Page0StatusLabel, wizard.Page1StatusLabel,
                               wizard.Page2StatusLabel};
    QCOMPARE(lines[page]->toolTip(), status);
    QCOMPARE(wizard.button(QWizard::NextButton)->isEnabled(), status.isEmpty());
    if (!status.isEmpty()) QVERIFY(!lines[page]->text().isEmpty());
  }

  // Paths and names that look like markup are shown as typed, on the status
  // lines and in the tool tips of the lines and of the workspace's list.
  void pathsLikeMarkupShownAsWritten_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("value");  // @ for the working folder
    QTest::addColumn<QString>("shown");
    QTest::newRow("a workspace folder")
        << "workspace" << "@/<h1>Empty" << "The workspace folder does not exist: @/<h1>Empty";
    QTest::newRow("a destination")
        << "output" << "@/<i>out" << "The output folder does not exist: @/<i>out";
    QTest::newRow("the converter's refusal")
        << "refusal" << "Could not open file: @/<b>x</b>/.project"
        << "Could not open file: @/<b>x</b>/.project";
#ifndef Q_OS_WIN
    // Windows allows no "<" or ">" in a folder's name.
    QTest::newRow("a listed project's folder")
        << "list" << "<i>Lib" << "@/<h1>Empty/<i>Lib";
#endif
  }

  void pathsLikeMarkupShownAsWritten() {
    QFETCH(QString, where);
    QFETCH(QString, value);
    QFETCH(QString, shown);
    WorkingFolder folder;
    value.replace(u'@', folder.path());
    shown.replace(u'@', folder.path());
    CannedDescription answer;
    if (where == QLatin1String("refusal")) answer.failure = value;
    if (where != QLatin1String("list")) answerWith(folder, answer);
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    wizard.question->delayMs = 0;
    if (where != QLatin1String("list")) {
      fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    } else {
      qputenv("STANDIN_PROJECTS", value.toUtf8());
      wizard.Page0WorkspaceRadio->setChecked(true);
      wizard.WRWorkspaceDirEdit->setText(folder.makeFolder(QStringLiteral("<h1>Empty")));
      wizard.OlvProjectEdit->setText(folder.makeFolder(QStringLiteral("<i>out")));
    }
    wizard.show();
    QVERIFY(waitForAnswer(wizard));
    if (where == QLatin1String("workspace")) wizard.WRWorkspaceDirEdit->setText(value);
    if (where == QLatin1String("output")) wizard.OlvProjectEdit->setText(value);

    QList<QLabel*> lines{wizard.Page0StatusLabel};
    if (where == QLatin1String("refusal")) lines = {wizard.ProjectStatusLabel, wizard.DescribeStatusLabel};
    if (where == QLatin1String("list")) {
      QCOMPARE(wizard.Page0WorkspaceProjectList->count(), 1);
      QCOMPARE(wizard.Page0WorkspaceProjectList->item(0)->text(), value);
      QCOMPARE(seen(wizard.Page0WorkspaceProjectList->item(0)->toolTip()),
               QDir::toNativeSeparators(shown));
      return;
    }
    for (QLabel* line : lines) {
      QCOMPARE(seen(line->toolTip()), shown);
      QCOMPARE(seen(line->text(), line->textFormat()), line->text());
      QVERIFY(line->text().startsWith(shown.left(10)));
    }
  }

  void aLongRefusalIsCutToTheLinesItHas_data() {
    QTest::addColumn<QString>("failure");
    QTest::newRow("words") << "WR Project file parsing encountered unexpected token: " +
                                  QStringLiteral("buildSpec ").repeated(30);
    QTest::newRow("one long path")
        << "Could not open file: /" + QStringLiteral("very_long_folder_name/").repeated(12);
  }

  // Cut in the middle to the first page's one line, and to the third
  // page's four lines, where it wraps; whole in both tool tips.
  void aLongRefusalIsCutToTheLinesItHas() {
    QFETCH(QString, failure);
    WorkingFolder folder;
    CannedDescription refused;
    refused.failure = failure;
    answerWith(folder, refused);
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.show();
    QVERIFY(waitForAnswer(wizard));
    for (QLabel* label : {wizard.ProjectStatusLabel, wizard.DescribeStatusLabel}) {
      QCOMPARE(label->toolTip(), failure);
      QVERIFY(label->text().startsWith(failure.left(10)));
      QVERIFY(label->text().contains(QChar(0x2026)));  // the cut
      const QRect room = label->contentsRect();
      const QRect needed = label->fontMetrics().boundingRect(
          room, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
          label->text());
      QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height(),
               qPrintable(label->objectName()));
    }
    QVERIFY(wizard.DescribeStatusLabel->text().size() > wizard.ProjectStatusLabel->text().size());
  }

  // A folder made in a terminal while the wizard waited counts once the
  // window is active again, without an edit of the field.
  void comingBackToTheWindowChecksThePathsAgain() {
    WorkingFolder folder;
    Page0Paths paths = makePage0Paths(folder);
    paths.output = folder.filePath(QStringLiteral("later"));
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, paths, QStringLiteral("P"));
    wizard.show();
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    QVERIFY(wizard.Page0StatusLabel->toolTip().startsWith("The output folder does not exist: "));

    folder.makeFolder(QStringLiteral("later"));
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(&wizard, &activation);
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
    QCOMPARE(wizard.Page0StatusLabel->toolTip(), QString());
    QCOMPARE(wizard.OlvProjectEdit->palette().color(QPalette::Text), QColor(0, 0, 0));
  }

  void aProjectOutsideTheWorkspaceOffersTheFoldersAboveIt() {
    WorkingFolder folder;
    Page0Paths paths = makePage0Paths(folder);  // ws/App/.project
    paths.workspace = folder.makeFolder(QStringLiteral("other"));
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, paths, QStringLiteral("P"));
    wizard.show();
    QVERIFY(wizard.WorkspaceOfferCombo->isVisible());
    const QString ws = QDir::toNativeSeparators(QDir(folder.filePath("ws")).absolutePath());
    QCOMPARE(wizard.WorkspaceOfferCombo->itemText(0), ws);
    QCOMPARE(wizard.WorkspaceOfferCombo->itemText(1),
             QDir::toNativeSeparators(QDir(folder.path()).absolutePath()));

    QTest::mouseClick(wizard.WorkspaceOfferBtn, Qt::LeftButton);
    QCOMPARE(wizard.WRWorkspaceDirEdit->text(), ws);
    QVERIFY(!wizard.WorkspaceOfferCombo->isVisible());
    QVERIFY(!wizard.WorkspaceOfferBtn->isVisible());
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());  // an offer never held it back
  }
};

QTEST_MAIN(StatusTest)
#include "vaskel_status_test.moc"
