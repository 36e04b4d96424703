#include "vaskel_personalities.h"

#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "vaskel_browse.h"
#include "vaskel_status.h"

Personalities::Personalities(const Widgets& w, PathBrowser* browser, QObject* parent)
    : WizardPart(parent),
      fields{{w.message, w.messageBrowse, tr("The message personality"),
              ConverterOption::MessagePersonality, QStringLiteral("Message Personality:\n"),
              tr("Select a Message Personality"), tr("Msg Personalities(*.p_s)"),
              &RememberedSettings::message},
             {w.analyser, w.analyserBrowse, tr("The template analyser personality"),
              ConverterOption::AnalyserPersonality,
              QStringLiteral("Tamplate Analyser Personality:\n"),
              tr("Select a Template Analyser Personality"), tr("Analiser Personalities(*.p_a)"),
              &RememberedSettings::analyser},
             {w.compiler, w.compilerBrowse, tr("The compiler personality"),
              ConverterOption::CompilerPersonality, QStringLiteral("Compiler Personality:\n"),
              tr("Select a Compiler Personality"), tr("Cmp Personalities(*.p_c)"),
              &RememberedSettings::compiler}} {
  for (const Field& field : fields) {
    connect(field.edit, &QLineEdit::textChanged, this, &WizardPart::changed);
    field.edit->installEventFilter(this);
    connect(field.browse, &QPushButton::clicked, this, [browser, field] {
      browser->chooseFile(field.edit, field.caption, field.filter);
    });
  }
}

bool Personalities::eventFilter(QObject* watched, QEvent* event) {
  // Checking on every key release, even one that changed nothing, also
  // notices a file that appeared or vanished since the last edit.
  if (event->type() == QEvent::KeyRelease) {
    for (const Field& field : fields) {
      if (watched == field.edit) emit checkDue();
    }
  }
  return WizardPart::eventFilter(watched, event);
}

// Every personality is optional, but one that is given must exist.
void Personalities::check() {
  for (const Field& field : fields) {
    const QString path = field.edit->text();
    if (!path.isEmpty()) colourPath(field.edit);
  }
}

QString Personalities::problem() const {
  for (const Field& field : fields) {
    const QString path = field.edit->text();
    if (path.isEmpty()) continue;
    QString problem = missingPath(field.what, path);
    if (problem.isEmpty()) problem = clashWithOption(field.what, path, tr("choose another file."));
    if (!problem.isEmpty()) return problem;
  }
  return QString();
}

QStringList Personalities::arguments(const CommandContext&) const {
  QStringList arguments;
  for (const Field& field : fields) {
    if (!field.edit->text().isEmpty()) arguments << optionName(field.option) << field.edit->text();
  }
  return arguments;
}

QString Personalities::summary() const {
  QString summary;
  for (const Field& field : fields) summary += field.heading + field.edit->text() + QStringLiteral("\n\n");
  return summary;
}

QString Personalities::pathsPresent() const {
  QString present;
  for (const Field& field : fields) present += QFileInfo::exists(field.edit->text()) ? u'1' : u'0';
  return present;
}

// Set as typed, so the page's check runs and a path that is gone shows red.
void Personalities::load(const RememberedSettings& remembered) {
  for (const Field& field : fields) {
    if (const std::optional<QString>& value = remembered.*field.remembered) field.edit->setText(*value);
  }
}

void Personalities::save(RememberedSettings& remembered) {
  for (const Field& field : fields) remembered.*field.remembered = field.edit->text();
}
