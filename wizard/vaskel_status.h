// The status lines under the pages: what keeps a page's Next disabled, in
// words, so that a red field is never the only sign, and how a line shows.
#pragma once

#include <QString>

class QLabel;
class QLineEdit;

// "The workspace folder is not given." or "... does not exist: PATH"; empty
// when the path names something that exists.
QString missingPath(const QString& what, const QString& path);

// Shows a path field's text black while it names something that exists,
// red otherwise.
void colourPath(QLineEdit* field);

// The converter takes a value equal to one of its option names for that
// option, even where it expects a value, so such a value never reaches it:
// "The name "-describe" would be taken by Plovik for its option -describe;
// choose another name." Empty for any other value.
QString clashWithOption(const QString& what, const QString& value, const QString& remedy);

// A tool tip showing `text` as written: Qt takes a tip that looks like
// markup for rich text, so a path such as "<h1>Empty" is escaped (its line
// breaks kept); any other text is returned unchanged.
QString plainToolTip(const QString& text);

// Shows `text` on a status line as plain text, red for a problem and grey otherwise, whole
// in the tool tip; a text too long for the line (or, where the label wraps,
// for its lines) is cut in the middle.
void showStatus(QLabel* label, const QString& text, bool problem = true);
