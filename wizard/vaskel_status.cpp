#include "vaskel_status.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QTextDocument>
#include <algorithm>

#include "vaskel_converter_options.h"

namespace {

// The text as the label shows it: whole where it fits, else cut in the
// middle to the label's one line, or to what the lines of a label that
// wraps hold.
QString fitted(const QLabel* label, const QString& text) {
  const QFontMetrics metrics = label->fontMetrics();
  if (!label->wordWrap()) return metrics.elidedText(text, Qt::ElideMiddle, label->width());
  const QRect room = label->contentsRect();
  const auto fits = [&](const QString& shown) {
    const QRect needed = metrics.boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, shown);
    return needed.width() <= room.width() && needed.height() <= room.height();
  };
  const int lines = std::max(1, room.height() / metrics.lineSpacing());
  QString shown = text;
  for (int width = lines * room.width(); !fits(shown) && width > 0; width -= room.width() / 4)
    shown = metrics.elidedText(text, Qt::ElideMiddle, width);
  return shown;
}

}  // namespace

QString missingPath(const QString& what, const QString& path) {
  if (path.isEmpty()) return QObject::tr("%1 is not given.").arg(what);
  if (!QFileInfo::exists(path)) return QObject::tr("%1 does not exist: %2").arg(what, path);
  return QString();
}

void colourPath(QLineEdit* field) {
  const QString path = field->text();
  const bool exists = !path.isEmpty() && QFileInfo::exists(path);
  QPalette palette = field->palette();
  palette.setColor(QPalette::Text, exists ? QColor(0, 0, 0) : QColor(255, 0, 0));
  field->setPalette(palette);
}

QString clashWithOption(const QString& what, const QString& value, const QString& remedy) {
  if (!converterOptionNames().contains(value)) return QString();
  return QObject::tr("%1 \"%2\" would be taken by Plovik for its option %2; %3")
      .arg(what, value, remedy);
}

QString plainToolTip(const QString& text) {
  if (!Qt::mightBeRichText(text)) return text;
  return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() +
         QStringLiteral("</p>");
}

void showStatus(QLabel* label, const QString& text, bool problem) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, problem ? QColor(200, 0, 0) : QColor(90, 90, 90));
  label->setPalette(palette);
  label->setTextFormat(Qt::PlainText);  // paths and names may look like markup
  label->setText(fitted(label, text));
  label->setToolTip(plainToolTip(text));
}
