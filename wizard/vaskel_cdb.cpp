#include "vaskel_cdb.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "vaskel_browse.h"
#include "vaskel_converter_options.h"
#include "vaskel_status.h"

CompilationDatabase::CompilationDatabase(const Widgets& widgets, QObject* parent,
                                         PathBrowser* browser)
    : WizardPart(parent), w(widgets) {
  w.file->setEnabled(false);
  w.browse->setEnabled(false);
  connect(w.check, &QCheckBox::toggled, this, [this](bool on) {
    w.file->setEnabled(on);
    w.browse->setEnabled(on);
    emit changed();
  });
  connect(w.file, &QLineEdit::textChanged, this, &CompilationDatabase::changed);
  connect(w.file, &QLineEdit::textEdited, this,
          [this](const QString& text) { followsDestination = text == defaultFile(); });
  connect(w.destination, &QLineEdit::textChanged, this, &CompilationDatabase::followDestination);
  if (!browser) return;
  connect(w.browse, &QPushButton::clicked, this, [this, browser] {
    const QString file = browser->chooseFileToWrite(tr("Select the Compilation Database File"),
                                                    tr("Compilation databases (*.json)"));
    if (!file.isEmpty()) takeFile(file);
  });
}

bool CompilationDatabase::isOn() const { return w.check->isChecked(); }

void CompilationDatabase::setOn(bool on) { w.check->setChecked(on); }

QStringList CompilationDatabase::arguments(const CommandContext&) const {
  if (!isOn() || w.file->text().isEmpty()) return {};
  return {optionName(ConverterOption::Database), w.file->text()};
}

QString CompilationDatabase::summary() const {
  if (!isOn()) return QString();
  return QStringLiteral("\nCompilation Database:\n") + w.file->text() + u'\n';
}

QString CompilationDatabase::problem() const {
  if (!isOn()) return QString();
  if (w.file->text().isEmpty()) return tr("The compilation database file is not given.");
  return clashWithOption(tr("The compilation database file"), w.file->text(),
                         tr("choose another file."));
}

void CompilationDatabase::takeFile(const QString& file) {
  w.file->setText(file);
  followsDestination = file == defaultFile();
}

std::optional<QString> CompilationDatabase::ownFile() const {
  if (followsDestination) return std::nullopt;
  return w.file->text();
}

void CompilationDatabase::setOwnFile(const QString& file) {
  followsDestination = false;
  w.file->setText(file);
}

QString CompilationDatabase::defaultFile() const {
  const QString destination = w.destination->text();
  if (destination.isEmpty()) return QString();
  return QDir::toNativeSeparators(
      QDir::cleanPath(destination + QStringLiteral("/compile_commands.json")));
}

void CompilationDatabase::followDestination() {
  if (followsDestination) w.file->setText(defaultFile());
}

void CompilationDatabase::load(const RememberedSettings& remembered) {
  if (remembered.database) setOn(*remembered.database);
  if (remembered.databaseFile) setOwnFile(*remembered.databaseFile);
}

void CompilationDatabase::save(RememberedSettings& remembered) {
  remembered.database = isOn();
  remembered.databaseFile = ownFile();
}
