// The controller: the summary built from the parts when Next leaves Page 2,
// the converter it runs, the texts' room on every page, and Vaskel's own
// --version and --help.
#include <QHeaderView>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

QString withoutMnemonic(QString text) { return text.remove(QRegularExpression("&(?!&)")); }

// The texts of `widgets` that need more room than their widget gives them,
// as "name "text": needed > room".
QStringList clippedTexts(const QList<QWidget*>& widgets) {
  QStringList clipped;
  const auto check = [&clipped](const QWidget* widget, const QString& text, int needed, int room) {
    if (needed > room)
      clipped << QStringLiteral("%1 \"%2\": %3 > %4").arg(widget->objectName(), text).arg(needed).arg(room);
  };
  for (QWidget* widget : widgets) {
    if (!widget->isVisible()) continue;
    const QFontMetrics metrics = widget->fontMetrics();
    QStyle* style = widget->style();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      const QRect room = label->contentsRect();
      const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
      const QRect needed = metrics.boundingRect(room, flags, label->text());
      check(label, label->text(), needed.width(), room.width());
      check(label, label->text(), needed.height(), room.height());
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      QStyleOptionButton option;
      option.initFrom(button);
      option.text = button->text();
      const QStyle::SubElement contents = qobject_cast<QCheckBox*>(button) ? QStyle::SE_CheckBoxContents
                                          : qobject_cast<QRadioButton*>(button)
                                              ? QStyle::SE_RadioButtonContents
                                              : QStyle::SE_PushButtonContents;
      const QString text = withoutMnemonic(button->text());
      check(button, text, metrics.horizontalAdvance(text),
            style->subElementRect(contents, &option, button).width());
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
      if (box->title().isEmpty()) continue;
      QStyleOptionGroupBox option;
      option.initFrom(box);
      option.text = box->title();
      option.textAlignment = box->alignment();
      option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
      if (box->isCheckable()) option.subControls |= QStyle::SC_GroupBoxCheckBox;
      const QRect label =
          style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
      check(box, box->title(), label.left() + metrics.horizontalAdvance(box->title()), box->width());
    } else if (auto* table = qobject_cast<QTableWidget*>(widget)) {
      const int margin = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, table);
      const QHeaderView* header = table->horizontalHeader();
      for (int column = 0; column < table->columnCount(); ++column) {
        const QString text = table->horizontalHeaderItem(column)->text();
        check(table, text, header->fontMetrics().horizontalAdvance(text) + margin,
              header->sectionSize(column));
      }
      for (int row = 0; row < table->rowCount(); ++row) {  // the names, whole
        const QString name = table->item(row, 0)->text();
        check(table, name, metrics.horizontalAdvance(name) + margin, table->columnWidth(0));
      }
    }
  }
  return clipped;
}

// The status lines that cross a frame line of `page` (a group box's, the
// log's, a rule's), which would strike them through: one inside a box stays
// below its title and above its bottom line.
QStringList statusLinesOnFrames(QWidget* page, const QList<QLabel*>& lines) {
  QStringList crossing;
  for (QLabel* line : lines) {
    if (!page->isAncestorOf(line)) continue;
    const QRect rect(line->mapTo(page, QPoint(0, 0)), line->size());
    for (QFrame* frame : page->findChildren<QFrame*>()) {
      const bool framed = qobject_cast<QGroupBox*>(frame) || qobject_cast<QTextEdit*>(frame) ||
                          frame->metaObject() == &QFrame::staticMetaObject;
      if (!framed) continue;
      const QRect box(frame->mapTo(page, QPoint(0, 0)), frame->size());
      const bool inside = frame->isAncestorOf(line) &&
                          rect.top() > box.top() + frame->fontMetrics().height() &&
                          rect.bottom() < box.bottom() - 1;
      if (rect.intersects(box) && !inside) crossing << line->objectName() + " on " + frame->objectName();
    }
  }
  return crossing;
}

}  // namespace

class ControllerTest : public QObject {
  Q_OBJECT

 private slots:
  void summaryIsRebuiltEachTimePage2IsLeft() {
    WorkingFolder folder;
    const Page0Paths paths = makePage0Paths(folder);
    const QString analyser = folder.writeFile(QStringLiteral("a.p_a"));
    Vaskel wizard;
    fillPage0(wizard, paths, QStringLiteral("My Project"));
    wizard.AnalPersonEdit->setText(analyser);
    wizard.cCheck->setChecked(true);
    wizard.show();
    QVERIFY(!wizard.Page3->isComplete());
    QVERIFY(goToPage3(wizard));
    QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
    QCOMPARE(wizard.DetailsText->toPlainText(),
             "WindRiver Project(s):\n" + paths.project + "\n" + paths.wrProject +
                 "\n\nWindRiver Workspace:\n" + paths.workspace +
                 "\n\nOlvex / Olvex++ Project Directory:\n" + paths.output +
                 "\n\nOlvex / Olvex++ Project Name:\nMy Project\n\nMessage Personality:\n"
                 "\n\nTamplate Analyser Personality:\n" + analyser +
                 "\n\nCompiler Personality:\n\n\nFile Extensions:\nc\n");

    wizard.back();
    wizard.hxxCheck->setChecked(true);
    wizard.OlvNameEdit->setText(QStringLiteral("Renamed"));  // off its page, still read
    QVERIFY(clickNext(wizard));
    QCOMPARE(wizard.extensions->chosen(), QStringLiteral("c,hxx"));
    QVERIFY(wizard.DetailsText->toPlainText().contains("Project Name:\nRenamed\n"));
  }

  void converterIsFoundBesideTheProgramFirst() {
    WorkingFolder folder;
    const QString empty = folder.makeFolder(QStringLiteral("empty"));
    QCOMPARE(Vaskel::locateConverter(empty), QStringLiteral("Plovik"));

    const QString standin = requiredEnvironment("VASKEL_STANDIN");
    const QString suffix = QFileInfo(standin).suffix();  // ".exe" where programs have one
    const QString beside = folder.makeFolder(QStringLiteral("bin")) + "/Plovik" +
                           (suffix.isEmpty() ? QString() : "." + suffix);
    QVERIFY(QFile::copy(standin, beside));
    QCOMPARE(QFileInfo(Vaskel::locateConverter(folder.filePath(QStringLiteral("bin")))),
             QFileInfo(beside));
  }

  // Each label, check box, radio button, group box title, table header and
  // button of the four pages has room for its text in the font the platform
  // gives it; the variables table shows six rows; and the window keeps the
  // size it opened with.
  void everyTextFitsItsWidget() {
    WorkingFolder folder;
    CannedDescription answer;
    answer.name = QStringLiteral("Sensor");
    answer.from = QStringLiteral(".project");  // the note beside the name shows
    answer.specs = QStringList{"PPC32diab", "PPC32gnu"};
    answer.targets = QStringList{"sensor_app"};
    for (const char* name : {"CC_ARCH_SPEC", "VX_CPU_FAMILY", "PRJ_ROOT_DIR", "TOOL_FAMILY",
                             "WIND_BASE", "VSB_CONFIG_FILE"})
      answer.variables << name << "/opt/windriver/vxworks-7/target/h/config" << "build macro";
    answerWith(folder, answer);
    Page0Paths paths = makePage0Paths(folder);
    paths.workspace = folder.makeFolder(QStringLiteral("elsewhere"));  // the offer shows
    Vaskel wizard;
    wizard.converterPath = requiredEnvironment("VASKEL_STANDIN");
    fillPage0(wizard, paths, QStringLiteral("P"));
    wizard.WorkbenchBox->setChecked(true);
    wizard.CdbCheck->setChecked(true);
    wizard.show();
    QVERIFY(waitForAnswer(wizard));
    const QSize opened = wizard.size();
    QVERIFY(opened.width() >= wizard.minimumSizeHint().width());
    QVERIFY(opened.height() >= wizard.minimumSizeHint().height());

    QStringList clipped;
    for (QWizardPage* page : {wizard.Page0, wizard.Page1, wizard.Page2, wizard.Page3}) {
      QCOMPARE(wizard.currentPage(), page);
      QApplication::processEvents();
      QList<QWidget*> widgets = page->findChildren<QWidget*>();
      for (auto which : {QWizard::BackButton, QWizard::NextButton, QWizard::CancelButton,
                         QWizard::FinishButton})
        widgets << wizard.button(which);
      clipped << clippedTexts(widgets);
      QCOMPARE(wizard.size(), opened);
      const QStringList onFrames = statusLinesOnFrames(
          page, {wizard.Page0StatusLabel, wizard.ProjectStatusLabel, wizard.Page1StatusLabel,
                 wizard.Page2StatusLabel, wizard.DescribeStatusLabel, wizard.Page3StatusLabel});
      QVERIFY2(onFrames.isEmpty(), qPrintable(onFrames.join(u'\n')));
      if (page == wizard.Page2) {
        QCOMPARE(wizard.VariablesTable->rowCount(), 6);
        QVERIFY(wizard.VariablesTable->viewport()->height() >= 6 * wizard.VariablesTable->rowHeight(0));
      }
      if (page != wizard.Page3) QVERIFY(clickNext(wizard));
    }
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
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

QTEST_MAIN(ControllerTest)
#include "vaskel_test.moc"
