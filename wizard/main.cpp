#include <QApplication>

#include "vaskel.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Vaskel wizard;
  wizard.show();
  // Closing the wizard closes the last window, which ends the event loop.
  return app.exec();
}
