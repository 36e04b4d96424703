// The form: its pages, widgets, texts and images as a freshly built wizard
// shows them.
#include <QCheckBox>
#include <QLineEdit>
#include <QSet>
#include <QTranslator>
#include <QtTest>

#include "vaskel_base.h"
#include "vaskel_page.h"

namespace {

// Exposes the protected languageChange() to the test.
class Form : public VaskelBase {
 public:
  using VaskelBase::VaskelBase;
  using VaskelBase::languageChange;
};

// Translates every text of the form's context by marking it, so a test can
// see which texts went through the translation function.
class MarkingTranslator : public QTranslator {
 public:
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (QByteArrayView(context) != "VaskelBase") return QString();
    return QStringLiteral("@") + QString::fromUtf8(source);
  }
  bool isEmpty() const override { return false; }
};

struct Shades {
  int width = 0;
  int height = 0;
  bool allGrey = true;
  int darkest = 255;
  int lightest = 0;
  int colours = 0;
};

Shades shadesOf(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage();
  Shades result{image.width(), image.height()};
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = image.pixelColor(x, y);
      colours.insert(colour.rgba());
      result.allGrey = result.allGrey && colour.red() == colour.green() &&
                       colour.green() == colour.blue() && colour.alpha() == 255;
      result.darkest = std::min(result.darkest, colour.red());
      result.lightest = std::max(result.lightest, colour.red());
    }
  }
  result.colours = int(colours.size());
  return result;
}

}  // namespace

class FormTest : public QObject {
  Q_OBJECT

 private slots:
  void freshFormStartsEmptyOnPage0() {
    Form form;
    form.show();
    QCOMPARE(form.objectName(), QStringLiteral("VaskelBase"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Vaskel 1.1"));
    QCOMPARE(form.currentPage(), form.Page0);
    QCOMPARE(form.pageIds().size(), 4);
    const QList<QWizardPage*> pages{form.Page0, form.Page1, form.Page2, form.Page3};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(form.page(form.pageIds().at(i)), pages.at(i));
      QVERIFY(qobject_cast<VaskelPage*>(pages.at(i)));
      QCOMPARE(pages.at(i)->title(), QString());
    }
    const auto edits = form.findChildren<QLineEdit*>();
    QCOMPARE(edits.size(), 10);
    for (QLineEdit* edit : edits) QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
    const auto checks = form.findChildren<QCheckBox*>();
    QCOMPARE(checks.size(), 9);
    for (QCheckBox* check : checks) QVERIFY(!check->isChecked());
    QVERIFY(!form.button(QWizard::HelpButton)->isVisible());
    QVERIFY(form.width() >= 543 && form.height() >= 507);
    QVERIFY(form.width() >= form.minimumSizeHint().width());
    QVERIFY(form.height() >= form.minimumSizeHint().height());
    QCOMPARE(form.palette().color(QPalette::Window), QColor(255, 255, 255));
  }

  void anExplicitNameIsKept() {
    Form form(nullptr, "myWizard");
    QCOMPARE(form.objectName(), QStringLiteral("myWizard"));
  }

  void languageChangeSetsTextsThroughTheTranslator() {
    Form form;
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    form.languageChange();
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(form.windowTitle(), QStringLiteral("@Vaskel 1.1"));
    QCOMPARE(form.groupBox2->title(), QStringLiteral("@Olvex / Olvex++ Project"));
    QCOMPARE(form.OlvProjectBrowseBtn->text(), QStringLiteral("@Browse"));
    QCOMPARE(form.hxxCheck->text(), QStringLiteral("@*.hxx"));
    QCOMPARE(form.CustExtEdit->toolTip(),
             QStringLiteral("@Custom extensions list to add files of this type to the project."));
  }

  void bannerAndFooterAreGreyArtOfTheirSize() {
    Form form;
    const Shades banner = shadesOf(form.bannerImage);
    QCOMPARE(banner.width, 532);
    QCOMPARE(banner.height, 36);
    QVERIFY(banner.allGrey);
    QCOMPARE(banner.darkest, 0x33);
    QCOMPARE(banner.lightest, 0xff);
    QCOMPARE(banner.colours, 80);
    const Shades footer = shadesOf(form.footerImage);
    QCOMPARE(footer.width, 532);
    QCOMPARE(footer.height, 19);
    QVERIFY(footer.allGrey);
    QCOMPARE(footer.darkest, 0x0a);
    QCOMPARE(footer.lightest, 0xff);
    QCOMPARE(footer.colours, 77);

    for (QLabel* label : {form.pixmapLabel3, form.pixmapLabel3_2, form.pixmapLabel3_2_2,
                          form.pixmapLabel3_2_2_2}) {
      QCOMPARE(label->geometry(), QRect(0, 0, 532, 36));
      QCOMPARE(label->pixmap().size(), QSize(532, 36));
    }
    for (QLabel* label : {form.pixmapLabel3_3, form.pixmapLabel3_3_2, form.pixmapLabel3_3_2_2,
                          form.pixmapLabel3_3_2_2_2}) {
      // At the foot of the page, stretched by one pixel; the status lines sit above it.
      QCOMPARE(label->geometry(), QRect(0, 506, 532, 20));
      QVERIFY(label->hasScaledContents());
      QCOMPARE(label->pixmap().size(), QSize(532, 19));
    }
  }
};

QTEST_MAIN(FormTest)
#include "vaskel_base_test.moc"
