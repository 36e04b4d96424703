// The status line under each page: the first thing that keeps Next disabled,
// in words, so that a red field is never the only sign. Also the first
// page's offer of a workspace when the chosen .project lies outside the one
// in the field.
#include <QDir>
#include <QEvent>
#include <QFileInfo>

#include "vaskel.h"
#include "vaskel_converter_options.h"

namespace {

// The converter takes a value equal to one of its option names for that
// option, even where it expects a value: such a value never reaches it.
QString clashWithOption(const QString& what, const QString& value, const QString& remedy) {
  if (!converterOptionNames().contains(value)) return QString();
  return QObject::tr("%1 \"%2\" would be taken by Plovik for its option %2; %3")
      .arg(what, value, remedy);
}

QString missingPath(const QString& what, const QString& path) {
  if (path.isEmpty()) return QObject::tr("%1 is not given.").arg(what);
  if (!QFileInfo::exists(path)) return QObject::tr("%1 does not exist: %2").arg(what, path);
  return QString();
}

bool isInside(const QString& file, const QString& folder) {
  const QString canonicalFile = QFileInfo(file).canonicalFilePath();
  const QString canonicalFolder = QDir(folder).canonicalPath();
  if (canonicalFile.isEmpty() || canonicalFolder.isEmpty()) return true;  // nothing to offer
#ifdef Q_OS_WIN
  const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
  const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
  const QString prefix = canonicalFolder.endsWith(u'/') ? canonicalFolder : canonicalFolder + u'/';
  return canonicalFile.startsWith(prefix, cs);
}

}  // namespace

QString Vaskel::page0Problem() const {
  const std::pair<QLineEdit*, QString> paths[] = {
      {ProjectEdit, tr("The .project file")},
      {WRProjectEdit, tr("The .wrproject file")},
      {WRWorkspaceDirEdit, tr("The workspace folder")},
      {OlvProjectEdit, tr("The output folder")}};
  for (const auto& [field, what] : paths) {
    const QString problem = missingPath(what, field->text());
    if (!problem.isEmpty()) return problem;
  }
  const QString name = OlvNameEdit->text();
  if (name.isEmpty()) return tr("The project needs a name.");
  return nameFromProject
             ? clashWithOption(tr("The .project file names the project"), name,
                               tr("rename the project in Workbench."))
             : clashWithOption(tr("The name"), name, tr("choose another name."));
}

QString Vaskel::page1Problem() const {
  const std::pair<QLineEdit*, QString> personalities[] = {
      {MsgPersonEdit, tr("The message personality")},
      {AnalPersonEdit, tr("The template analyser personality")},
      {CmpPersonEdit, tr("The compiler personality")}};
  for (const auto& [field, what] : personalities) {
    if (field->text().isEmpty()) continue;  // every personality is optional
    QString problem = missingPath(what, field->text());
    if (problem.isEmpty())
      problem = clashWithOption(what, field->text(), tr("choose another file."));
    if (!problem.isEmpty()) return problem;
  }
  return QString();
}

QString Vaskel::page2Problem() const {
  QString problem =
      clashWithOption(tr("The extension list"), currentExtensionList(), tr("change the extensions."));
  if (!problem.isEmpty()) return problem;
  if (CdbCheck->isChecked()) {
    if (CdbEdit->text().isEmpty()) return tr("The compilation database file is not given.");
    problem = clashWithOption(tr("The compilation database file"), CdbEdit->text(),
                              tr("choose another file."));
    if (!problem.isEmpty()) return problem;
  }
  if (!WorkbenchBox->isChecked()) return QString();
  if (SpecCombo->currentIndex() >= 0) {
    problem = clashWithOption(tr("The build spec"), SpecCombo->currentText(),
                              tr("choose another build spec."));
    if (!problem.isEmpty()) return problem;
  }
  if (TargetCombo->currentIndex() > 0) {
    problem = clashWithOption(tr("The build target"), TargetCombo->currentText(),
                              tr("choose another build target."));
  }
  return problem;
}

// Cut in the middle to the line, whole in the tool tip.
void Vaskel::showPageStatus(QLabel* label, const QString& text, bool problem) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, problem ? QColor(200, 0, 0) : QColor(90, 90, 90));
  label->setPalette(palette);
  label->setText(label->wordWrap()
                     ? text
                     : label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width()));
  label->setToolTip(text);
}

void Vaskel::Page2Check() {
  const QString problem = page2Problem();
  Page2->setComplete(problem.isEmpty());
  showPageStatus(Page2StatusLabel, problem);
}

// A .project outside the workspace folder converts against the wrong
// workspace: every sub-project would be "not found". The folders above the
// project are the likely workspaces.
void Vaskel::offerWorkspaces() {
  const QString project = ProjectEdit->text();
  const QString workspace = WRWorkspaceDirEdit->text();
  QStringList offers;
  if (QFileInfo(project).isFile() && QFileInfo(workspace).isDir() && !isInside(project, workspace)) {
    QDir folder = QFileInfo(project).absoluteDir();
    while (folder.cdUp() && !folder.isRoot())
      offers << QDir::toNativeSeparators(folder.absolutePath());
  }
  QStringList shown;
  for (int i = 0; i < WorkspaceOfferCombo->count(); ++i) shown << WorkspaceOfferCombo->itemText(i);
  if (shown != offers) {
    WorkspaceOfferCombo->clear();
    WorkspaceOfferCombo->addItems(offers);
  }
  const QList<QWidget*> offer{WorkspaceOfferLabel, WorkspaceOfferCombo, WorkspaceOfferBtn};
  for (QWidget* widget : offer) widget->setVisible(!offers.isEmpty());
}

void Vaskel::WorkspaceOfferBtn_clicked() {
  if (WorkspaceOfferCombo->currentIndex() < 0) return;
  filledFromProject.remove(WRWorkspaceDirEdit);  // the user's choice now
  WRWorkspaceDirEdit->setText(WorkspaceOfferCombo->currentText());
}

QString Vaskel::pathsPresent() const {
  QString present;
  for (QLineEdit* field : {ProjectEdit, WRProjectEdit, WRWorkspaceDirEdit, OlvProjectEdit,
                           MsgPersonEdit, AnalPersonEdit, CmpPersonEdit})
    present += QFileInfo::exists(field->text()) ? u'1' : u'0';
  return present;
}

void Vaskel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    Page0LineEdit_textchanged(QString());
    Page1LineEdit_textchanged(QString());
    // What the converter said may have been about files that were missing.
    const QString present = pathsPresent();
    if (present != lastPathsPresent) {
      lastPathsPresent = present;
      askedArguments.clear();
      scheduleDescribe();
    }
  }
  VaskelBase::changeEvent(event);
}
