// Page 1's personalities: the message, template analyser and compiler
// personality files, each optional, each passed by its own option, each
// with its Browse button. One that is given must exist and must not be a
// value the converter would take for an option.
#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "vaskel_converter_options.h"
#include "vaskel_part.h"

class PathBrowser;
class QLineEdit;
class QPushButton;

class Personalities : public WizardPart {
  Q_OBJECT

 public:
  struct Widgets {
    QLineEdit* message;
    QPushButton* messageBrowse;
    QLineEdit* analyser;
    QPushButton* analyserBrowse;
    QLineEdit* compiler;
    QPushButton* compilerBrowse;
  };

  Personalities(const Widgets& widgets, PathBrowser* browser, QObject* parent = nullptr);

  bool eventFilter(QObject* watched, QEvent* event) override;

  void check() override;
  QString problem() const override;
  QStringList arguments(const CommandContext& context = {}) const override;
  QString summary() const override;
  QString pathsPresent() const override;
  void load(const RememberedSettings& remembered) override;
  void save(RememberedSettings& remembered) override;

 private:
  // A personality field with the words its status line names it by, the
  // option that passes it, its heading in the summary, its dialog and the
  // record the settings file keeps it in.
  struct Field {
    QLineEdit* edit;
    QPushButton* browse;
    QString what;
    ConverterOption option;
    QString heading;
    QString caption;
    QString filter;
    std::optional<QString> RememberedSettings::*remembered;
  };

  const QList<Field> fields;
};
