// The controller: the page checks as the user types, the browse dialogs, the
// extension list and the summary built when Next leaves Page 2, the texts'
// room on every page, and Vaskel's own --version and --help.
#include <QFileDialog>
#include <QHeaderView>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

QColor textColour(const QLineEdit* field) { return field->palette().color(QPalette::Text); }

bool nextEnabled(Vaskel& wizard) { return wizard.button(QWizard::NextButton)->isEnabled(); }

// Types the path into the dialog's name field, as a user may, and accepts.
// (selectFile() leaves that field alone once it has the focus.)
void choose(QFileDialog* dialog, const QString& path) {
  if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    name->setText(path);
  static_cast<QDialog*>(dialog)->accept();  // public in QDialog
}

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

    const QString personality = folder.filePath(QStringLiteral("m.p_s"));
    wizard.MsgPersonEdit->setText(personality);
    QCOMPARE(textColour(wizard.MsgPersonEdit), kRed);
    folder.writeFile(QStringLiteral("m.p_s"));
    QTest::keyClick(wizard.MsgPersonEdit, Qt::Key_Home);
    QCOMPARE(textColour(wizard.MsgPersonEdit), kBlack);
  }

  void page1_data() {
    QTest::addColumn<QStringList>("given");  // message, analyser, compiler; "" empty, "-" missing
    QTest::addColumn<bool>("next");
    QTest::newRow("none given") << QStringList{"", "", ""} << true;
    QTest::newRow("message missing") << QStringList{"-", "", ""} << false;
    QTest::newRow("all exist") << QStringList{"m.p_s", "a.p_a", "c.p_c"} << true;
    QTest::newRow("only analyser") << QStringList{"", "a.p_a", ""} << true;
    // A later field that exists does not hide an earlier one that does not.
    QTest::newRow("first missing, last exists") << QStringList{"-", "", "c.p_c"} << false;
    QTest::newRow("middle missing") << QStringList{"m.p_s", "-", "c.p_c"} << false;
    QTest::newRow("last missing") << QStringList{"m.p_s", "", "-"} << false;
  }

  void page1() {
    QFETCH(QStringList, given);
    QFETCH(bool, next);
    WorkingFolder folder;
    Vaskel wizard;
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.show();
    QVERIFY(clickNext(wizard));
    QCOMPARE(wizard.currentPage(), wizard.Page1);

    const QList<QLineEdit*> fields{wizard.MsgPersonEdit, wizard.AnalPersonEdit,
                                   wizard.CmpPersonEdit};
    for (int i = 0; i < 3; ++i) {
      if (given[i] == "-")
        fields[i]->setText(folder.filePath(QStringLiteral("gone.p_x")));
      else if (!given[i].isEmpty())
        fields[i]->setText(folder.writeFile(given[i]));
    }
    QCOMPARE(nextEnabled(wizard), next);
    for (int i = 0; i < 3; ++i) {
      if (!given[i].isEmpty()) QCOMPARE(textColour(fields[i]), given[i] == "-" ? kRed : kBlack);
    }

    // Clearing the missing ones again allows Next.
    for (int i = 0; i < 3; ++i) {
      if (given[i] == "-") fields[i]->clear();
    }
    QVERIFY(nextEnabled(wizard));
  }

  void extensionList_data() {
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QString>("list");
    QTest::newRow("two boxes") << QStringList{"hCheck", "cppCheck"} << "" << "cpp,h";
    QTest::newRow("box and custom") << QStringList{"cppCheck"} << "res,xml" << "cpp,res,xml";
    QTest::newRow("custom with a trailing comma") << QStringList{} << "res," << "res";
    QTest::newRow("nothing") << QStringList{} << "" << "";
    QTest::newRow("every box, in a fixed order")
        << QStringList{"hxxCheck", "hppCheck", "hhCheck", "hCheck", "cCheck", "cxxCheck",
                       "ccCheck", "cppCheck"}
        << " x ,," << "cpp,cc,cxx,c,h,hh,hpp,hxx, x ,";
  }

  void extensionList() {
    QFETCH(QStringList, checked);
    QFETCH(QString, custom);
    QFETCH(QString, list);
    WorkingFolder folder;
    Vaskel wizard;
    fillPage0(wizard, makePage0Paths(folder), QStringLiteral("P"));
    wizard.show();
    for (const QString& name : checked) wizard.findChild<QCheckBox*>(name)->setChecked(true);
    wizard.CustExtEdit->setText(custom);
    QVERIFY(goToPage3(wizard));
    QCOMPARE(wizard.extensionList, list);
    QVERIFY(wizard.DetailsText->toPlainText().endsWith("File Extensions:\n" + list + "\n"));
  }

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
    QCOMPARE(wizard.extensionList, QStringLiteral("c,hxx"));
    QVERIFY(wizard.DetailsText->toPlainText().contains("Project Name:\nRenamed\n"));
  }

  void browseFillsTheFieldAndRemembersThePath() {
    WorkingFolder folder;
    const QString project = folder.writeFile(QStringLiteral("a b/App.project"));
    const QString personality = folder.writeFile(QStringLiteral("a b/m.p_s"));
    Vaskel wizard;
    wizard.show();
    QCOMPARE(wizard.lastPath, QDir::toNativeSeparators(QStringLiteral("/")));

    // The handler only records and closes: a failed check inside it would
    // leave the dialog open and the test waiting for ever.
    QStringList openedIn;
    QStringList names;
    QString chooseNext = project;
    ModalWatcher<QFileDialog> chooser([&](QFileDialog* dialog) {
      openedIn << QDir::toNativeSeparators(dialog->directory().absolutePath());
      names << dialog->objectName();
      if (chooseNext.isEmpty()) {
        dialog->reject();
        return;
      }
      choose(dialog, chooseNext);
    });

    wizard.ProjectBrowseBtn->click();
    QCOMPARE(wizard.ProjectEdit->text(), QDir::toNativeSeparators(project));
    QCOMPARE(wizard.lastPath, QDir::toNativeSeparators(project));
    QCOMPARE(textColour(wizard.ProjectEdit), kBlack);

    // The next dialog, whichever button opens it, starts where the last ended.
    chooseNext = personality;
    wizard.MsgBrowseBtn->click();
    QCOMPARE(wizard.MsgPersonEdit->text(), QDir::toNativeSeparators(personality));

    chooseNext.clear();  // cancelled: nothing changes
    wizard.ProjectBrowseBtn->click();
    QCOMPARE(wizard.ProjectEdit->text(), QDir::toNativeSeparators(project));
    QCOMPARE(wizard.lastPath, QDir::toNativeSeparators(personality));

    QCOMPARE(chooser.seen(), 3);
    QCOMPARE(chooser.forced(), 0);
    QCOMPARE(names, QStringList(3, QStringLiteral("open file dialog")));
    QCOMPARE(openedIn.at(1), QDir::toNativeSeparators(folder.filePath(QStringLiteral("a b"))));
    QCOMPARE(openedIn.at(2), openedIn.at(1));
  }

  void folderBrowseOffersFolders() {
    WorkingFolder folder;
    const QString workspace = folder.makeFolder(QStringLiteral("ws"));
    Vaskel wizard;
    wizard.show();
    QString name;
    bool foldersOnly = false;
    ModalWatcher<QFileDialog> chooser([&](QFileDialog* dialog) {
      name = dialog->objectName();
      foldersOnly = dialog->fileMode() == QFileDialog::Directory &&
                    dialog->testOption(QFileDialog::ShowDirsOnly);
      choose(dialog, workspace);
    });
    wizard.WRWorkspaceBrowseBtn->click();
    QCOMPARE(chooser.seen(), 1);
    QCOMPARE(name, QStringLiteral("get existing directory"));
    QVERIFY(foldersOnly);
    QCOMPARE(wizard.WRWorkspaceDirEdit->text(), QDir::toNativeSeparators(workspace));
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
