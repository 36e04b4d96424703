// The wizard's controller: checks the pages as the user types, offers the
// browse dialogs, remembers paths in "settings.txt", builds the summary and
// runs the converter Plovik with a command line made from the fields.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringDecoder>

#include "vaskel_base.h"

class Vaskel : public VaskelBase {
  Q_OBJECT

 public:
  explicit Vaskel(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                  Qt::WindowFlags flags = {});

  bool eventFilter(QObject* watched, QEvent* event) override;

  // "Plovik" beside the program in `folder` when it is there, otherwise the
  // bare name, which the program search then resolves.
  static QString locateConverter(const QString& folder);

  // Built when Next leaves Page 2; shown in the summary and given to -ext.
  QString extensionList;
  // The process of the most recent conversion, a child of the wizard.
  QProcess* converterProcess = nullptr;
  // Where the next browse dialog opens: the path chosen last.
  QString lastPath;
  // The converter that Finish starts.
  QString converterPath;

 public slots:
  void ProjectBrowseBtn_clicked();
  void WRProjectBrowseBtn_clicked();
  void WRWorkspaceBrowseBtn_clicked();
  void OlvProjectBrowseBtn_clicked();
  void Page0LineEdit_textchanged(const QString&);
  void Page1LineEdit_textchanged(const QString&);
  void MsgBrowseBtn_clicked();
  void AnalBrowseBtn_clicked();
  void CmpBrowseBtn_clicked();
  void readFromStdout();
  void processExit();

 protected slots:
  void accept() override;
  void reject() override;

 protected:
  // Leaving Page 2 by Next builds the extension list and the summary.
  bool validateCurrentPage() override;

 private:
  void loadSettings();
  void saveSettings();
  void processError(QProcess::ProcessError error);
  void buildExtensionList();
  QString summary() const;
  QString browseStart() const;
  QString browseFile(const QString& caption, const QString& filter);
  QString browseFolder(const QString& caption);
  void takeBrowsed(const QString& path, QLineEdit* field);
  void setConverterRunning(bool running);

  // Decodes the converter's output across deliveries, so a character split
  // between two reads comes out whole.
  QStringDecoder outputDecoder;
};
