// The wizard's form: the four pages and their widgets, built from
// vaskel_base.ui, plus the banner and footer images. It holds no behaviour.
#pragma once

#include <QPixmap>
#include <QWizard>

#include "ui_vaskel_base.h"

class VaskelBase : public QWizard, public Ui::VaskelBase {
  Q_OBJECT

 public:
  explicit VaskelBase(QWidget* parent = nullptr, const char* name = nullptr,
                      bool modal = false, Qt::WindowFlags flags = {});
  ~VaskelBase() override;

  QPixmap bannerImage;
  QPixmap footerImage;

 protected:
  void showEvent(QShowEvent* event) override;

 protected slots:
  // Sets every caption, label, button text and tool tip through tr().
  virtual void languageChange();
};
