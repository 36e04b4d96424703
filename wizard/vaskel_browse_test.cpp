// The browse dialogs: a file or folder chosen fills its field, and the next
// dialog, whichever button opens it, starts where the last one ended.
#include <QFileDialog>
#include <QtTest>

#include "vaskel.h"
#include "wizard_test_support.h"

namespace {

const QColor kBlack(0, 0, 0);

QColor textColour(const QLineEdit* field) { return field->palette().color(QPalette::Text); }

// Types the path into the dialog's name field, as a user may, and accepts.
// (selectFile() leaves that field alone once it has the focus.)
void choose(QFileDialog* dialog, const QString& path) {
  if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    name->setText(path);
  static_cast<QDialog*>(dialog)->accept();  // public in QDialog
}

}  // namespace

class BrowseTest : public QObject {
  Q_OBJECT

 private slots:
  void browseFillsTheFieldAndRemembersThePath() {
    WorkingFolder folder;
    const QString project = folder.writeFile(QStringLiteral("a b/App.project"));
    const QString personality = folder.writeFile(QStringLiteral("a b/m.p_s"));
    Vaskel wizard;
    wizard.show();
    QCOMPARE(wizard.browser.lastPath, QDir::toNativeSeparators(QStringLiteral("/")));

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
    QCOMPARE(wizard.browser.lastPath, QDir::toNativeSeparators(project));
    QCOMPARE(textColour(wizard.ProjectEdit), kBlack);

    // The next dialog, whichever button opens it, starts where the last ended.
    chooseNext = personality;
    wizard.MsgBrowseBtn->click();
    QCOMPARE(wizard.MsgPersonEdit->text(), QDir::toNativeSeparators(personality));

    chooseNext.clear();  // cancelled: nothing changes
    wizard.ProjectBrowseBtn->click();
    QCOMPARE(wizard.ProjectEdit->text(), QDir::toNativeSeparators(project));
    QCOMPARE(wizard.browser.lastPath, QDir::toNativeSeparators(personality));

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
};

QTEST_MAIN(BrowseTest)
#include "vaskel_browse_test.moc"
