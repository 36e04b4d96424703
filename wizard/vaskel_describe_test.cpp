// The converter's answer to -describe, read from the document it prints.
#include "vaskel_describe.h"

#include <QtTest>

#include "wizard_test_support.h"

class DescribeTest : public QObject {
  Q_OBJECT

 private slots:
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

};

QTEST_MAIN(DescribeTest)
#include "vaskel_describe_test.moc"
