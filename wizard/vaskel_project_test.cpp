// Taking a project on the first page: the name and the build specs read from
// the project's own files, the empty fields filled from a chosen .project,
// and a project dropped anywhere on the page.
#include "vaskel_project.h"

#include <QMimeData>
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

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
  void projectName_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << projectFile("App") << "App";
    QTest::newRow("byte order mark, declaration and comments")
        << QByteArray(
               "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- made by hand -->\n"
               "<projectDescription><!-- x --><name> My App </name></projectDescription>")
        << "My App";
    QTest::newRow("only the name directly inside")
        << QByteArray(
               "<projectDescription><buildSpec><buildCommand><name>builder</name>"
               "</buildCommand></buildSpec><name>Late</name></projectDescription>")
        << "Late";
    QTest::newRow("none named") << QByteArray("<projectDescription><comment/></projectDescription>")
                                << "";
    QTest::newRow("broken before the name")
        << QByteArray("<projectDescription><comment></oops><name>X</name>") << "";
    QTest::newRow("broken after the name")
        << QByteArray("<projectDescription><name>Kept</name><comment></oops>") << "Kept";
  }

  void projectName() {
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    WorkingFolder folder;
    QCOMPARE(readProjectName(folder.writeFile(QStringLiteral("p/.project"), content)), name);
  }

  void buildSpecs_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("specs");
    QTest::addColumn<QString>("defaultSpec");
    const QByteArray list =
        "\t\t<listAttribute key=\"BLD::Info|specs\">\n"
        "\t\t\t<stringAttribute value=\"PPC32diab\"/>\n"
        "\t\t\t<stringAttribute value=\"PPC32gnu\"/>\n"
        "\t\t\t<stringAttribute value=\"SIMNTgnu&amp;x\"/>\n"
        "\t\t\t<stringAttribute value=\"PPC32diab\"/>\n"
        "\t\t</listAttribute>\n";
    const QByteArray other =
        "\t\t<listAttribute key=\"BLD::Info|Incl|PPC32gnu\">\n"
        "\t\t\t<stringAttribute value=\"-I$(WIND_BASE)/target/h\"/>\n"
        "\t\t</listAttribute>\n";
    const QByteArray head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<wrxsdproject version=\"2.0\">\n\t<attributes>\n\t<mapAttribute>\n";
    const QByteArray tail = "\t</mapAttribute>\n\t</attributes>\n</wrxsdproject>\n";
    const QStringList three{"PPC32diab", "PPC32gnu", "SIMNTgnu&x"};
    QTest::newRow("several specs, a default, other lists passed over")
        << head + other +
               "\t\t<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"PPC32gnu\"/>\n" + list +
               tail
        << three << "PPC32gnu";
    QTest::newRow("no default") << head + list + tail << three << "";
    QTest::newRow("no list") << head + other + tail << QStringList{} << "";
    QTest::newRow("broken part-way: what came before stands")
        << head +
               "\t\t<listAttribute key=\"BLD::Info|specs\">\n"
               "\t\t\t<stringAttribute value=\"A\"/>\n"
               "\t\t\t<stringAttribute value=\"B\"/ >\n"
               "\t\t\t<stringAttribute value=\"C\"/>\n"
        << QStringList{"A"} << "";
    QTest::newRow("not markup at all")
        << QByteArray("BLD::Info|specs PPC32gnu\n") << QStringList{} << "";
  }

  void buildSpecs() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, specs);
    QFETCH(QString, defaultSpec);
    WorkingFolder folder;
    const BuildSpecs read = readBuildSpecs(folder.writeFile(QStringLiteral(".wrproject"), content));
    QCOMPARE(read.names, specs);
    QCOMPARE(read.defaultName, defaultSpec);
  }

  void buildSpecsOfAMissingFileOrAFolder() {
    WorkingFolder folder;
    QVERIFY(readBuildSpecs(folder.filePath(QStringLiteral("gone"))).names.isEmpty());
    QVERIFY(readBuildSpecs(folder.path()).names.isEmpty());
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
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("App"));
    QVERIFY(wizard.Page0->isComplete());

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
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("App"));

    // The user changes the name; another project then replaces only what the
    // first project filled in, and a value it lacks leaves the field empty.
    wizard.OlvNameEdit->setText(QStringLiteral("Mine"));
    QFile::remove(folder.filePath(QStringLiteral("ws/Other/.wrproject")));
    wizard.ProjectEdit->setText(second);
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("Mine"));
    QCOMPARE(wizard.WRWorkspaceDirEdit->text(), QStringLiteral("typed workspace"));
    QCOMPARE(wizard.WRProjectEdit->text(), QString());

    // A folder or a path that names nothing fills nothing.
    Vaskel other;
    other.ProjectEdit->setText(folder.filePath(QStringLiteral("ws/App")));
    other.ProjectEdit->setText(folder.filePath(QStringLiteral("ws/App/.projec")));
    QVERIFY(other.WRProjectEdit->text().isEmpty());
    QVERIFY(other.OlvNameEdit->text().isEmpty());
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
      QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("App"));
    }
    QCOMPARE(wizard.lastPath, QDir::toNativeSeparators(project));

    // The .project file itself, dropped on a field that already holds it:
    // the empty fields are filled all the same, and no text is inserted.
    wizard.OlvNameEdit->clear();
    QVERIFY(dropOnPage0(wizard, {QUrl::fromLocalFile(project)}, {200, 210}));
    QCOMPARE(wizard.ProjectEdit->text(), QDir::toNativeSeparators(project));
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("App"));
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
    QCOMPARE(wizard.OlvNameEdit->text(), QStringLiteral("App"));
  }
};

QTEST_MAIN(ProjectTest)
#include "vaskel_project_test.moc"
