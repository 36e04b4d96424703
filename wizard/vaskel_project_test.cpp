// The first page's fields: four existing paths and a name before Next,
// checked as the user types and on a key release; taking a project: the
// empty path fields filled from a chosen .project, a project dropped
// anywhere on the page, and the Name field as the converter's answer
// decides it.
#include "vaskel_project.h"

#include <QMimeData>
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

QColor textColour(const QLineEdit* field) { return field->palette().color(QPalette::Text); }

bool nextEnabled(Vaskel& wizard) { return wizard.button(QWizard::NextButton)->isEnabled(); }

QByteArray projectFile(const QByteArray& name) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<projectDescription>\n\t<name>" + name +
         "</name>\n\t<comment></comment>\n</projectDescription>\n";
}

// A workspace folder "ws" with a project "App" (its .project naming itself
// `name`, a .wrproject beside it); returns the .project's path.
QString makeProject(const WorkingFolder& folder, const QString& project = QStringLiteral("App"),
                    const QByteArray& name = "App") {
  folder.writeFile("ws/" + project + "/.wrproject", "<wrxsdproject/>\n");
  return folder.writeFile("ws/" + project + "/.project", projectFile(name));
}

// Delivers a drag and drop of `urls` at `pos` on Page 0 the way the window
// does: to the widget there, or the nearest one above it that takes drops.
// Returns whether the drag was taken.
bool dropOnPage0(Vaskel& wizard, const QList<QUrl>& urls, const QPoint& pos) {
  QMimeData data;
  data.setUrls(urls);
  QWidget* target = wizard.Page0->childAt(pos);
  if (!target) target = wizard.Page0;
  while (target != wizard.Page0 && !target->acceptDrops()) target = target->parentWidget();
  if (!target->acceptDrops()) return false;
  const QPointF at = target->mapFrom(wizard.Page0, pos);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

}  // namespace

class ProjectTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    qunsetenv("STANDIN_DESCRIBE");
    qunsetenv("STANDIN_DESCRIBE_EXIT");
  }

  void page0NeedsFourExistingPathsAndAName() {
    WorkingFolder folder;
    const Page0Paths paths = makePage0Paths(folder);
    Vaskel wizard;
    wizard.show();
    QVERIFY(!nextEnabled(wizard));

    fillPage0(wizard, paths, QString());
    QVERIFY(!nextEnabled(wizard));
    for (QLineEdit* field : {wizard.ProjectEdit, wizard.WRProjectEdit, wizard.WRWorkspaceDirEdit,
                             wizard.OlvProjectEdit})
      QCOMPARE(textColour(field), kBlack);

    QTest::keyClick(wizard.OlvNameEdit, Qt::Key_A);
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("a"));
    QVERIFY(nextEnabled(wizard));

    // One character less and the path names nothing.
    wizard.WRProjectEdit->setFocus();
    wizard.WRProjectEdit->end(false);
    QTest::keyClick(wizard.WRProjectEdit, Qt::Key_Backspace);
    QCOMPARE(textColour(wizard.WRProjectEdit), kRed);
    QCOMPARE(textColour(wizard.ProjectEdit), kBlack);
    QVERIFY(!nextEnabled(wizard));

    // Only existence counts: a folder passes where a file is asked for.
    wizard.WRProjectEdit->setText(paths.workspace);
    wizard.ProjectEdit->setText(paths.output);
    QCOMPARE(textColour(wizard.WRProjectEdit), kBlack);
    QVERIFY(nextEnabled(wizard));

    wizard.OlvNameEdit->clear();
    QVERIFY(!nextEnabled(wizard));
  }

  void aKeyReleaseRechecksTheField() {
    WorkingFolder folder;
    Vaskel wizard;
    wizard.show();
    const QString later = folder.filePath(QStringLiteral("later.project"));
    wizard.ProjectEdit->setText(later);
    QCOMPARE(textColour(wizard.ProjectEdit), kRed);
    folder.writeFile(QStringLiteral("later.project"));
    QTest::keyClick(wizard.ProjectEdit, Qt::Key_Left);  // changes no text
    QCOMPARE(textColour(wizard.ProjectEdit), kBlack);
  }

  // Named by the .project, the name is the one the conversion uses: shown,
  // not editable, and said why. Where the .project names none, what the
  // user typed comes back.
  void theNameFollowsTheAnswer() {
    WorkingFolder folder;
    const Page0Paths paths = makePage0Paths(folder);
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    wizard.show();
    CannedDescription named;
    named.name = QStringLiteral(" My App ");
    named.from = QStringLiteral(".project");
    answerWith(folder, named);
    fillPage0(wizard, paths, QStringLiteral("Typed"));
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral(" My App "));
    QVERIFY(wizard.OlvNameEdit->isReadOnly());
    QVERIFY(wizard.NameNoteLabel->isVisible());
    QVERIFY(wizard.Page0->isComplete());
    // The question that follows carries the name shown, and changes nothing.
    QCOMPARE(describedArguments(folder).mid(4, 2), (QStringList{"-pn", " My App "}));

    CannedDescription unnamed;
    unnamed.name = QStringLiteral("Typed");
    unnamed.from = QStringLiteral("-pn");
    answerWith(folder, unnamed);
    wizard.WRProjectEdit->setText(folder.writeFile(QStringLiteral("ws/App/other.wrproject")));
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("Typed"));
    QVERIFY(!wizard.OlvNameEdit->isReadOnly());
    QVERIFY(!wizard.NameNoteLabel->isVisible());
  }

  // The converter's own message where it cannot read a file, on the page
  // that names the files; the field is editable then, as nothing names it.
  void aRefusalIsShownInTheConvertersWords() {
    WorkingFolder folder;
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    wizard.show();
    CannedDescription refused;
    refused.failure = QStringLiteral("WR Project file parsing encountered unexpected token: buildSpec");
    answerWith(folder, refused);
    qputenv("STANDIN_DESCRIBE_EXIT", "1");
    fillPage0(wizard, makePage0Paths(folder), QString());
    QVERIFY(waitForAnswer(wizard));
    QCOMPARE(wizard.ProjectStatusLabel->toolTip(), refused.failure);
    QCOMPARE(wizard.ProjectStatusLabel->text(), refused.failure);
    QCOMPARE(wizard.DescribeStatusLabel->toolTip(), refused.failure);
    QVERIFY(!wizard.OlvNameEdit->isReadOnly());
    QVERIFY(!wizard.Page0->isComplete());  // no name yet
  }

  void aChosenProjectFillsTheEmptyFields() {
    WorkingFolder folder;
    const QString project = makeProject(folder);
    Vaskel wizard;
    wizard.OlvProjectEdit->setText(folder.makeFolder(QStringLiteral("out")));
    wizard.ProjectEdit->setText(project);
    QCOMPARE(wizard.WRProjectEdit->text(),
             QDir::toNativeSeparators(folder.filePath(QStringLiteral("ws/App/.wrproject"))));
    QCOMPARE(wizard.WRWorkspaceDirEdit->text(),
             QDir::toNativeSeparators(folder.filePath(QStringLiteral("ws"))));

    // A relative path gives a relative workspace, which the converter keeps.
    Vaskel relative;
    relative.ProjectEdit->setText(QDir::toNativeSeparators(QStringLiteral("ws/App/.project")));
    QCOMPARE(relative.WRProjectEdit->text(), QDir::toNativeSeparators("ws/App/.wrproject"));
    QCOMPARE(relative.WRWorkspaceDirEdit->text(), QStringLiteral("ws"));
  }

  void typedFieldsAreNeverOverwritten() {
    WorkingFolder folder;
    const QString first = makeProject(folder, QStringLiteral("App"), "App");
    const QString second = makeProject(folder, QStringLiteral("Other"), "");
    Vaskel wizard;
    wizard.WRWorkspaceDirEdit->setText(QStringLiteral("typed workspace"));
    wizard.ProjectEdit->setText(first);
    QCOMPARE(wizard.WRWorkspaceDirEdit->text(), QStringLiteral("typed workspace"));

    // Another project replaces only what the first project filled in, and a
    // value it lacks leaves the field empty.
    QFile::remove(folder.filePath(QStringLiteral("ws/Other/.wrproject")));
    wizard.ProjectEdit->setText(second);
    QCOMPARE(wizard.WRWorkspaceDirEdit->text(), QStringLiteral("typed workspace"));
    QCOMPARE(wizard.WRProjectEdit->text(), QString());

    // A folder or a path that names nothing fills nothing.
    Vaskel other;
    other.ProjectEdit->setText(folder.filePath(QStringLiteral("ws/App")));
    other.ProjectEdit->setText(folder.filePath(QStringLiteral("ws/App/.projec")));
    QVERIFY(other.WRProjectEdit->text().isEmpty());
  }

  void aProjectDroppedAnywhereOnThePage() {
    WorkingFolder folder;
    const QString project = makeProject(folder);
    const QString projectFolder = folder.filePath(QStringLiteral("ws/App"));
    Vaskel wizard;
    wizard.show();
    // Over the description, a label, a Browse button, a field and bare page.
    const QList<QPoint> places{{100, 100}, {40, 222}, {470, 250}, {200, 250}, {260, 186}};
    for (const QPoint& place : places) {
      for (QLineEdit* field : {wizard.ProjectEdit, wizard.WRProjectEdit, wizard.WRWorkspaceDirEdit,
                               wizard.OlvNameEdit})
        field->clear();
      QVERIFY2(dropOnPage0(wizard, {QUrl::fromLocalFile(projectFolder)}, place),
               qPrintable(QStringLiteral("at %1,%2").arg(place.x()).arg(place.y())));
      QCOMPARE(wizard.ProjectEdit->text(), QDir::toNativeSeparators(project));
      QCOMPARE(wizard.WRProjectEdit->text(),
               QDir::toNativeSeparators(folder.filePath(QStringLiteral("ws/App/.wrproject"))));
    }
    QCOMPARE(wizard.browser.lastPath, QDir::toNativeSeparators(project));

    // The .project file itself, dropped on a field that already holds it:
    // the empty fields are filled all the same, and no text is inserted.
    wizard.WRWorkspaceDirEdit->clear();
    QVERIFY(dropOnPage0(wizard, {QUrl::fromLocalFile(project)}, {200, 210}));
    QCOMPARE(wizard.ProjectEdit->text(), QDir::toNativeSeparators(project));
    QCOMPARE(wizard.WRWorkspaceDirEdit->text(),
             QDir::toNativeSeparators(folder.filePath(QStringLiteral("ws"))));
  }

  void otherDropsAreNotTaken() {
    WorkingFolder folder;
    makeProject(folder);
    const QString source = folder.writeFile(QStringLiteral("ws/App/main.c"));
    const QString plain = folder.makeFolder(QStringLiteral("ws/NoProject"));
    Vaskel wizard;
    wizard.show();
    QVERIFY(!dropOnPage0(wizard, {QUrl::fromLocalFile(source)}, {100, 100}));
    QVERIFY(!dropOnPage0(wizard, {QUrl::fromLocalFile(plain)}, {100, 100}));
    QVERIFY(
        !dropOnPage0(wizard, {QUrl(QStringLiteral("https://example.org/.project"))}, {100, 100}));
    QVERIFY(wizard.ProjectEdit->text().isEmpty());
    // The first project among several URLs is taken.
    QVERIFY(dropOnPage0(wizard,
                        {QUrl::fromLocalFile(source),
                         QUrl::fromLocalFile(folder.filePath(QStringLiteral("ws/App")))},
                        {100, 100}));
    QCOMPARE(wizard.ProjectEdit->text(),
             QDir::toNativeSeparators(folder.filePath(QStringLiteral("ws/App/.project"))));
  }
};

QTEST_MAIN(ProjectTest)
#include "vaskel_project_test.moc"
