// The converter's warnings as the log shows them.
#include "vaskel_warnings.h"

#include <QtTest>

class WarningsTest : public QObject {
  Q_OBJECT

 private slots:
  void lines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<QString>("shown");  // empty: as printed
    QTest::newRow("a warning") << "Warning: project Lib not found" << true << "";
    QTest::newRow("the advice for a variable")
        << "Warning: unresolved variable WIND_BASE in 2 include paths (give it with -var "
           "WIND_BASE=...)"
        << true
        << "Warning: unresolved variable WIND_BASE in 2 include paths (type its value into the "
           "Variables table on the previous page)";
    QTest::newRow("advice not at the end stays")
        << "Warning: x (give it with -var A=...) and more" << true << "";
    QTest::newRow("indented") << "  Warning: indented" << false << "";
    QTest::newRow("without the space") << "Warning:no space" << false << "";
    QTest::newRow("in lower case") << "warning: lower case" << false << "";
    QTest::newRow("a progress line") << "  Creating Group - App" << false << "";
  }

  void lines() {
    QFETCH(QString, line);
    QFETCH(bool, warning);
    QFETCH(QString, shown);
    QCOMPARE(isConverterWarning(line), warning);
    QCOMPARE(warningForTheWizard(line), shown.isEmpty() ? line : shown);
  }
};

QTEST_MAIN(WarningsTest)
#include "vaskel_warnings_test.moc"
