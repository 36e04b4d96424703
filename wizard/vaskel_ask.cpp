// Asking the converter about the chosen project: whenever the arguments a
// conversion would get change, and the fields have been still for a moment,
// `Plovik ... -describe` runs as a child process (a newer question ends an
// older one), and its answer fills the name on the first page and the build
// specs, targets and variables on the third. Both pages say in words while
// the answer is awaited and when the converter refuses or does not answer.
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>

#include "vaskel.h"

namespace {

// Long enough to read a large workspace, short enough to notice a converter
// stuck on a file that never ends (a FIFO, a share that went away).
constexpr int kDescribeTimeoutMs = 15000;
// Typing a path asks once, when the typing pauses.
constexpr int kDescribeDelayMs = 300;

}  // namespace

void Vaskel::setUpDescribe() {
  describeRun = new DescribeRun(this);
  describeRun->timeoutMs = kDescribeTimeoutMs;
  describeDelay.setSingleShot(true);
  describeDelay.setInterval(kDescribeDelayMs);
  connect(&describeDelay, &QTimer::timeout, this, &Vaskel::startDescribe);
  connect(describeRun, &DescribeRun::answered, this, &Vaskel::takeDescription);
  connect(describeRun, &DescribeRun::noAnswer, this, &Vaskel::takeNoAnswer);

  // Every field a conversion's command line is made of; the check boxes and
  // lists of Page 2 connect themselves where they are set up.
  for (QLineEdit* field : {ProjectEdit, WRProjectEdit, WRWorkspaceDirEdit, OlvProjectEdit,
                           OlvNameEdit, MsgPersonEdit, AnalPersonEdit, CmpPersonEdit, CustExtEdit,
                           CdbEdit})
    connect(field, &QLineEdit::textChanged, this, &Vaskel::scheduleDescribe);
  for (QCheckBox* check :
       {cppCheck, ccCheck, cxxCheck, cCheck, hCheck, hhCheck, hppCheck, hxxCheck, CdbCheck})
    connect(check, &QCheckBox::toggled, this, &Vaskel::scheduleDescribe);
  NameNoteLabel->hide();
}

bool Vaskel::describing() const { return describeDelay.isActive() || describeRun->running(); }

void Vaskel::scheduleDescribe() {
  // Nothing to ask until the project's files and workspace are named.
  if (ProjectEdit->text().isEmpty() || WRProjectEdit->text().isEmpty() ||
      WRWorkspaceDirEdit->text().isEmpty()) {
    describeDelay.stop();
    describeRun->cancel();
    askedArguments.clear();
    showDescribeStatus(QString(), false);
    return;
  }
  const QStringList arguments = conversionArguments(true);
  if (!describeDelay.isActive() && arguments == askedArguments) return;
  // The question under way is about inputs no longer chosen.
  describeRun->cancel();
  askedArguments.clear();
  showDescribeStatus(tr("Asking Plovik about the project ..."), false);
  describeDelay.start();
}

void Vaskel::startDescribe() {
  askedArguments = conversionArguments(true);
  lastPathsPresent = pathsPresent();
  describeRun->ask(converterPath, askedArguments);
}

void Vaskel::takeDescription(const ProjectDescription& answer) {
  description = answer;
  fillName(answer.namedByProject(), answer.projectName);
  fillSpecs(answer.knownSpecs, answer.defaultSpec);
  fillTargets(answer.knownTargets);
  // A value being typed stays: its end asks again, and that answer fills in.
  // (The cell's editor is the only widget in the table that takes the focus.)
  const QWidget* focus = QApplication::focusWidget();
  const bool typing = focus && VariablesTable->viewport()->isAncestorOf(focus);
  if (!typing) fillVariables(answer.variables, answer.expandsVariables());
  // The converter's own message, as it would end a conversion.
  showDescribeStatus(answer.failure, !answer.failure.isEmpty());
  // Filling may have chosen a build spec or name the question did not have.
  scheduleDescribe();
}

void Vaskel::takeNoAnswer(const QString& why) {
  // What an earlier answer said may be about other files: it goes.
  description.reset();
  fillName(false, QString());
  fillSpecs({}, QString());
  fillTargets({});
  fillVariables({}, false);
  showDescribeStatus(why, true);
}

// The same words on the first page (over the project's files) and the third
// (over the real-project mode): cut to the line with "...", whole in the tool tip.
void Vaskel::showDescribeStatus(const QString& text, bool problem) {
  for (QLabel* label : {ProjectStatusLabel, DescribeStatusLabel}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, problem ? QColor(200, 0, 0) : QColor(90, 90, 90));
    label->setPalette(palette);
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width()));
    label->setToolTip(text);
  }
}
