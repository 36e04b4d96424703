// Page 2's compilation database: a check box that adds -cdb FILE to the
// conversion (in either mode), the file <destination>/compile_commands.json
// until the user types or browses another, and a Next that waits for a file
// while the box is on.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "vaskel_part.h"

class PathBrowser;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CompilationDatabase : public WizardPart {
  Q_OBJECT

 public:
  struct Widgets {
    QCheckBox* check;
    QLineEdit* file;
    QPushButton* browse;
    QLineEdit* destination;  // the output folder the file follows
  };

  // Without a browser, the Browse button is left to the caller.
  explicit CompilationDatabase(const Widgets& widgets, QObject* parent = nullptr,
                               PathBrowser* browser = nullptr);

  bool isOn() const;
  void setOn(bool on);
  // -cdb FILE while the box is on; nothing otherwise.
  QStringList arguments(const CommandContext& context = {}) const override;
  // The summary's lines about the database; empty while the box is off.
  QString summary() const override;
  // What keeps Next waiting: no file, or one the converter would take for an
  // option. Empty while the box is off or the file will do.
  QString problem() const override;
  void load(const RememberedSettings& remembered) override;
  void save(RememberedSettings& remembered) override;
  // A file the user chose: it follows the destination again only when it
  // is the one the destination gives.
  void takeFile(const QString& file);
  // The file to remember: none while it follows the destination, so that it
  // follows the remembered destination next time too.
  std::optional<QString> ownFile() const;
  // A remembered file of the user's own: it follows no destination.
  void setOwnFile(const QString& file);

 private:
  QString defaultFile() const;
  void followDestination();

  Widgets w;
  bool followsDestination = true;
};
