// Running the converter: Finish starts Plovik with the fields as its command
// line, its output goes into the details log, and its exit status decides
// between the success line and the failure message box.
#include <QAbstractButton>
#include <QMessageBox>

#include "vaskel.h"

void Vaskel::accept() {
  converterProcess = new QProcess(this);

  QStringList arguments{ProjectEdit->text(), WRProjectEdit->text(), WRWorkspaceDirEdit->text(),
                        OlvProjectEdit->text(), QStringLiteral("-pn"), OlvNameEdit->text()};
  const std::pair<const char*, QString> options[] = {{"-mp", MsgPersonEdit->text()},
                                                     {"-ap", AnalPersonEdit->text()},
                                                     {"-cp", CmpPersonEdit->text()},
                                                     {"-ext", extensionList}};
  for (const auto& [option, value] : options) {
    if (!value.isEmpty()) arguments << QLatin1String(option) << value;
  }

  DetailsText->clear();
  DetailsText->setPlainText(QStringLiteral("Initialising Project Conversion ...\n"));
  outputDecoder = QStringDecoder(QStringConverter::System);

  connect(converterProcess, &QProcess::readyReadStandardOutput, this, &Vaskel::readFromStdout);
  connect(converterProcess, &QProcess::finished, this, &Vaskel::processExit);
  connect(converterProcess, &QProcess::errorOccurred, this, &Vaskel::processError);

  Page3->setComplete(false);
  converterProcess->start(converterPath, arguments);
  // A start that fails may already have been reported from inside start().
  if (converterProcess->state() != QProcess::NotRunning) setConverterRunning(true);
}

void Vaskel::setConverterRunning(bool running) {
  // One conversion at a time: no way back to Page 2 (and to a second Finish)
  // until this one has ended.
  button(QWizard::BackButton)->setEnabled(!running);
}

void Vaskel::processError(QProcess::ProcessError error) {
  if (error != QProcess::FailedToStart) return;
  DetailsText->append(
      QStringLiteral("Project Conversion could not be executed: Please ensure Plovik.exe is set "
                     "on the path.\n"));
  setConverterRunning(false);
}

void Vaskel::readFromStdout() {
  QString text = outputDecoder.decode(converterProcess->readAllStandardOutput());
  // Each delivery becomes a paragraph of its own, so the line end that
  // usually closes it would only add an empty one.
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  if (text.endsWith(u'\n')) text.chop(1);
  DetailsText->append(text);
}

void Vaskel::processExit() {
  setConverterRunning(false);
  if (converterProcess->exitStatus() == QProcess::NormalExit) {
    if (converterProcess->exitCode() == 0) {
      DetailsText->append(QStringLiteral("Project Converted Successfully!"));
      setButtonText(QWizard::CancelButton, QStringLiteral("Close"));
    } else {
      QMessageBox::about(
          nullptr, QStringLiteral("Vaskel"),
          QStringLiteral("Project Conversion Failed!\nPlease check the details log and try again."));
    }
  }
  saveSettings();
}

void Vaskel::reject() {
  if (converterProcess) {
    // Cancelling is no exit of the conversion: nothing more is shown or saved.
    disconnect(converterProcess, nullptr, this, nullptr);
    converterProcess->kill();
    converterProcess->waitForFinished(1000);
  }
  VaskelBase::reject();
}
