// Page 2's file extensions: the list the boxes and the field make, fixed
// when Next leaves the page.
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

class ExtensionsTest : public QObject {
  Q_OBJECT

 private slots:
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
    QCOMPARE(wizard.extensions->chosen(), list);
    QVERIFY(wizard.DetailsText->toPlainText().endsWith("File Extensions:\n" + list + "\n"));
  }
};

QTEST_MAIN(ExtensionsTest)
#include "vaskel_extensions_test.moc"
