// A wizard page whose Next or Finish button the controller switches on and
// off directly, instead of the page judging its own fields.
#pragma once

#include <QWizardPage>

class VaskelPage : public QWizardPage {
  Q_OBJECT

 public:
  explicit VaskelPage(QWidget* parent = nullptr);

  bool isComplete() const override;
  // Enables or disables the page's Next (or Finish, on the last page).
  void setComplete(bool complete);

 private:
  bool complete = true;
};
