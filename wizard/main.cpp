#include <QApplication>
#include <QCommandLineParser>
#include <memory>

#include "vaskel.h"

namespace {

// Asked only for its help or its version, Vaskel answers on standard output
// and opens no window, so it needs no display.
bool asksForInformation(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArrayView argument(argv[i]);
    for (const char* option : {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
      if (argument == option) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<QCoreApplication> app =
      asksForInformation(argc, argv) ? std::make_unique<QCoreApplication>(argc, argv)
                                     : std::make_unique<QApplication>(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Vaskel"));
  QCoreApplication::setApplicationVersion(QStringLiteral(VASKEL_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Gathers the inputs of a conversion of a Wind River Workbench project on four pages and "
      "runs Plovik with them."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  // Other arguments are passed over, as they always were.
  parser.parse(QCoreApplication::arguments());
  if (parser.isSet(help)) parser.showHelp(0);
  if (parser.isSet(version)) parser.showVersion();

  Vaskel wizard;
  wizard.show();
  // Closing the wizard closes the last window, which ends the event loop.
  return app->exec();
}
