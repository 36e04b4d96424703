#include "vaskel_page.h"

VaskelPage::VaskelPage(QWidget* parent) : QWizardPage(parent) {}

bool VaskelPage::isComplete() const { return complete; }

void VaskelPage::setComplete(bool value) {
  if (complete == value) return;
  complete = value;
  emit completeChanged();
}
