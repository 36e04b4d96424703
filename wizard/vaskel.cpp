#include "vaskel.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool pathExists(const QString& path) { return !path.isEmpty() && QFileInfo::exists(path); }

void colourText(QLineEdit* field, bool exists) {
  QPalette palette = field->palette();
  palette.setColor(QPalette::Text, exists ? QColor(0, 0, 0) : QColor(255, 0, 0));
  field->setPalette(palette);
}

}  // namespace

Vaskel::Vaskel(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : VaskelBase(parent, name, modal, flags), outputDecoder(QStringConverter::System) {
  Page0->setComplete(false);
  Page3->setComplete(false);  // until Next on Page 2 has built the summary

  connect(ProjectEdit, &QLineEdit::textChanged, this, &Vaskel::Page0LineEdit_textchanged);
  connect(ProjectBrowseBtn, &QPushButton::clicked, this, &Vaskel::ProjectBrowseBtn_clicked);
  connect(WRProjectEdit, &QLineEdit::textChanged, this, &Vaskel::Page0LineEdit_textchanged);
  connect(WRProjectBrowseBtn, &QPushButton::clicked, this, &Vaskel::WRProjectBrowseBtn_clicked);
  connect(OlvProjectBrowseBtn, &QPushButton::clicked, this, &Vaskel::OlvProjectBrowseBtn_clicked);
  connect(WRWorkspaceDirEdit, &QLineEdit::textChanged, this, &Vaskel::Page0LineEdit_textchanged);
  connect(WRWorkspaceBrowseBtn, &QPushButton::clicked, this,
          &Vaskel::WRWorkspaceBrowseBtn_clicked);
  connect(OlvProjectEdit, &QLineEdit::textChanged, this, &Vaskel::Page0LineEdit_textchanged);
  connect(OlvNameEdit, &QLineEdit::textChanged, this, &Vaskel::Page0LineEdit_textchanged);
  connect(MsgBrowseBtn, &QPushButton::clicked, this, &Vaskel::MsgBrowseBtn_clicked);
  connect(AnalBrowseBtn, &QPushButton::clicked, this, &Vaskel::AnalBrowseBtn_clicked);
  connect(CmpBrowseBtn, &QPushButton::clicked, this, &Vaskel::CmpBrowseBtn_clicked);
  connect(MsgPersonEdit, &QLineEdit::textChanged, this, &Vaskel::Page1LineEdit_textchanged);
  connect(AnalPersonEdit, &QLineEdit::textChanged, this, &Vaskel::Page1LineEdit_textchanged);
  connect(CmpPersonEdit, &QLineEdit::textChanged, this, &Vaskel::Page1LineEdit_textchanged);
  // After the check, which the fields it fills then run again.
  connect(ProjectEdit, &QLineEdit::textChanged, this, &Vaskel::ProjectEdit_textchanged);
  connect(WorkspaceOfferBtn, &QPushButton::clicked, this, &Vaskel::WorkspaceOfferBtn_clicked);

  for (QLineEdit* field : {ProjectEdit, WRProjectEdit, WRWorkspaceDirEdit, OlvProjectEdit,
                           OlvNameEdit, MsgPersonEdit, AnalPersonEdit, CmpPersonEdit})
    field->installEventFilter(this);
  // A project dropped anywhere on the first page: the page takes what its
  // labels and boxes do not, and the filter sees it before a field would.
  Page0->setAcceptDrops(true);
  Page0->installEventFilter(this);

  setUpDescribe();
  setUpWorkbenchMode();
  setUpCompilationDatabase();

  // Shown on Page 3 after a successful run only.
  setButtonText(QWizard::CustomButton1, tr("Open Folder"));
  button(QWizard::CustomButton1)->setObjectName(QStringLiteral("OpenFolderBtn"));
  button(QWizard::CustomButton1)
      ->setToolTip(tr("Show the destination folder in the file manager."));
  connect(this, &QWizard::customButtonClicked, this, [this](int which) {
    if (which == QWizard::CustomButton1) OpenFolderBtn_clicked();
  });
  connect(this, &QWizard::currentIdChanged, this, [this] {
    if (currentPage() != Page3) showOpenFolder(false);
  });

  for (auto which : {QWizard::NextButton, QWizard::BackButton, QWizard::CancelButton,
                     QWizard::FinishButton, QWizard::CustomButton1}) {
    QPalette palette(QColor(Qt::white), QColor(Qt::white));
    palette.setColor(QPalette::Window, QColor("white"));
    button(which)->setPalette(palette);
  }

  ownCancelText = buttonText(QWizard::CancelButton);
  RunProgressBar->hide();
  updateCancelButton();

  lastPath = QDir::toNativeSeparators(QStringLiteral("/"));
  converterPath = locateConverter(QCoreApplication::applicationDirPath());
  Page0LineEdit_textchanged(QString());  // says why Next waits, from the start
  loadSettings();
}

QString Vaskel::locateConverter(const QString& folder) {
  const QString beside =
      QStandardPaths::findExecutable(QStringLiteral("Plovik"), QStringList{folder});
  return beside.isEmpty() ? QStringLiteral("Plovik") : beside;
}

bool Vaskel::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
    const bool onPage0 = watched == Page0 || watched == ProjectEdit || watched == WRProjectEdit ||
                         watched == WRWorkspaceDirEdit || watched == OlvProjectEdit ||
                         watched == OlvNameEdit;
    if (onPage0 && page0DragEvent(event)) return true;
  }
  if (type == QEvent::KeyRelease) {
    // Re-checking on every key release, even one that changed nothing, also
    // notices a file that appeared or vanished since the last edit.
    for (QObject* field : {ProjectEdit, WRProjectEdit, WRWorkspaceDirEdit, OlvProjectEdit,
                           OlvNameEdit}) {
      if (watched == field) {
        Page0LineEdit_textchanged(QString());
        return false;
      }
    }
    for (QObject* field : {MsgPersonEdit, AnalPersonEdit, CmpPersonEdit}) {
      if (watched == field) {
        Page1LineEdit_textchanged(QString());
        return false;
      }
    }
  }
  return VaskelBase::eventFilter(watched, event);
}

void Vaskel::Page0LineEdit_textchanged(const QString&) {
  for (QLineEdit* field : {ProjectEdit, WRProjectEdit, WRWorkspaceDirEdit, OlvProjectEdit})
    colourText(field, pathExists(field->text()));
  const QString problem = page0Problem();
  Page0->setComplete(problem.isEmpty());
  showPageStatus(Page0StatusLabel, problem);
  offerWorkspaces();
}

void Vaskel::Page1LineEdit_textchanged(const QString&) {
  // Every personality is optional, but one that is given must exist.
  for (QLineEdit* field : {MsgPersonEdit, AnalPersonEdit, CmpPersonEdit}) {
    if (!field->text().isEmpty()) colourText(field, pathExists(field->text()));
  }
  const QString problem = page1Problem();
  Page1->setComplete(problem.isEmpty());
  showPageStatus(Page1StatusLabel, problem);
}

// The folder the next dialog opens in. Given the last file itself, the dialog
// would also preselect it, even in a dialog that asks for another kind of file.
QString Vaskel::browseStart() const {
  const QFileInfo last(lastPath);
  return last.isDir() ? lastPath : QDir::toNativeSeparators(last.absolutePath());
}

QString Vaskel::browseFile(const QString& caption, const QString& filter) {
  QFileDialog dialog(this, caption, browseStart(), filter);
  dialog.setObjectName(QStringLiteral("open file dialog"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

QString Vaskel::browseFolder(const QString& caption) {
  QFileDialog dialog(this, caption, browseStart());
  dialog.setObjectName(QStringLiteral("get existing directory"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

void Vaskel::takeBrowsed(const QString& path, QLineEdit* field) {
  const QString native = QDir::toNativeSeparators(path);
  if (native.isEmpty()) return;  // the dialog was cancelled
  lastPath = native;
  field->setText(native);
}

void Vaskel::ProjectBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a WindRiver Project"), tr("Projects (*.project)")),
              ProjectEdit);
}

void Vaskel::WRProjectBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a WindRiver Project"), tr("WR Projects (*.wrproject)")),
              WRProjectEdit);
}

void Vaskel::WRWorkspaceBrowseBtn_clicked() {
  takeBrowsed(browseFolder(tr("Specify the WindRiver Workspace Directory")), WRWorkspaceDirEdit);
}

void Vaskel::OlvProjectBrowseBtn_clicked() {
  takeBrowsed(browseFolder(tr("Select the Olvex/Olvex++ Project Destination Directory")),
              OlvProjectEdit);
}

void Vaskel::MsgBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a Message Personality"), tr("Msg Personalities(*.p_s)")),
              MsgPersonEdit);
}

void Vaskel::AnalBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a Template Analyser Personality"),
                         tr("Analiser Personalities(*.p_a)")),
              AnalPersonEdit);
}

void Vaskel::CmpBrowseBtn_clicked() {
  takeBrowsed(browseFile(tr("Select a Compiler Personality"), tr("Cmp Personalities(*.p_c)")),
              CmpPersonEdit);
}

bool Vaskel::validateCurrentPage() {
  if (currentPage() == Page2) {
    extensionList = currentExtensionList();
    DetailsText->setPlainText(summary());
    Page3->setComplete(true);
    showPageStatus(Page3StatusLabel, QString());
  }
  return VaskelBase::validateCurrentPage();
}

QString Vaskel::currentExtensionList() const {
  const std::pair<QCheckBox*, const char*> pieces[] = {
      {cppCheck, "cpp,"}, {ccCheck, "cc,"},   {cxxCheck, "cxx,"}, {cCheck, "c,"},
      {hCheck, "h,"},     {hhCheck, "hh,"},   {hppCheck, "hpp,"}, {hxxCheck, "hxx,"}};
  QString list;
  for (const auto& [check, piece] : pieces) {
    if (check->isChecked()) list += QLatin1String(piece);
  }
  list += CustExtEdit->text();
  if (list.endsWith(u',')) list.chop(1);
  return list;
}

QString Vaskel::summary() const {
  return QStringLiteral("WindRiver Project(s):\n") + ProjectEdit->text() + u'\n' +
         WRProjectEdit->text() + QStringLiteral("\n\nWindRiver Workspace:\n") +
         WRWorkspaceDirEdit->text() +
         QStringLiteral("\n\nOlvex / Olvex++ Project Directory:\n") + OlvProjectEdit->text() +
         QStringLiteral("\n\nOlvex / Olvex++ Project Name:\n") + OlvNameEdit->text() +
         QStringLiteral("\n\nMessage Personality:\n") + MsgPersonEdit->text() +
         QStringLiteral("\n\nTamplate Analyser Personality:\n") + AnalPersonEdit->text() +
         QStringLiteral("\n\nCompiler Personality:\n") + CmpPersonEdit->text() +
         QStringLiteral("\n\nFile Extensions:\n") + extensionList + u'\n' +
         (CdbCheck->isChecked() ? QStringLiteral("\nCompilation Database:\n") + CdbEdit->text() + u'\n'
                                : QString()) +
         workbenchSummary();
}
