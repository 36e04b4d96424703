// Page 2's file extensions: a check box each for the usual ones and a field
// for others, made into the list -ext passes. The list is fixed when Next
// leaves the page, for the summary and the run; a question asked before
// takes the boxes as they stand.
#pragma once

#include <QLatin1String>
#include <QList>
#include <QString>

#include "vaskel_part.h"

class QCheckBox;
class QLineEdit;

class ExtensionChoice : public WizardPart {
  Q_OBJECT

 public:
  // A check box and its piece of the list, in the list's order.
  struct Box {
    QCheckBox* check;
    QLatin1String piece;
  };
  struct Widgets {
    QList<Box> boxes;
    QLineEdit* custom;
  };

  explicit ExtensionChoice(const Widgets& widgets, QObject* parent = nullptr);

  // The list as the boxes and the field stand.
  QString current() const;
  // Fixes the list as it stands; chosen() is the list fixed last.
  void fix() { fixed = current(); }
  const QString& chosen() const { return fixed; }

  QString problem() const override;
  QStringList arguments(const CommandContext& context = {}) const override;
  QString summary() const override;

 private:
  Widgets w;
  QString fixed;
};
