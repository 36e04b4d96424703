// Page 1's personalities: each optional, each given one checked for
// existence as the user types, and again on a key release.
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

QColor textColour(const QLineEdit* field) { return field->palette().color(QPalette::Text); }

bool nextEnabled(Vaskel& wizard) { return wizard.button(QWizard::NextButton)->isEnabled(); }

}  // namespace

class PersonalitiesTest : public QObject {
  Q_OBJECT

 private slots:
  void aKeyReleaseRechecksTheField() {
    WorkingFolder folder;
    Vaskel wizard;
    wizard.show();
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
};

QTEST_MAIN(PersonalitiesTest)
#include "vaskel_personalities_test.moc"
