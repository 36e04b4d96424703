// One concern of the wizard's pages and the widgets it drives. A part judges
// its own fields, says what it adds to the command line, to the summary on
// the last page and to the settings file, and signals when any of that may
// have changed; it never calls the controller or another part. The
// controller only routes: a part's signals to its page's check and to the
// question, the parts' pieces into the command line, the summary and the
// settings, in the pages' order.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "vaskel_settings.h"

// What a part's options depend on beyond its own widgets.
struct CommandContext {
  // A question to the converter, which may come before Page 2 is left by Next.
  bool describing = false;
  // Page 2 asks for the real-project mode.
  bool realProjectMode = false;
};

class WizardPart : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Shows its fields as they stand: a path that names nothing in red, say.
  virtual void check() {}
  // What keeps its page's Next disabled, in words; empty when nothing does.
  virtual QString problem() const { return QString(); }
  // Its options on the command line.
  virtual QStringList arguments(const CommandContext& context = {}) const {
    Q_UNUSED(context);
    return {};
  }
  // Its lines of the summary.
  virtual QString summary() const { return QString(); }
  // Whether each of its path fields names something that exists, a
  // character each, to notice a file that came or went.
  virtual QString pathsPresent() const { return QString(); }
  // Takes what the settings file remembers, and puts in what it keeps.
  virtual void load(const RememberedSettings& remembered) { Q_UNUSED(remembered); }
  virtual void save(RememberedSettings& remembered) { Q_UNUSED(remembered); }

 signals:
  // The command line a conversion would get may have changed.
  void changed();
  // Only its page's check is due: a key released in a field may mean a file
  // that came or went.
  void checkDue();
};
