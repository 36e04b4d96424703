#include "vaskel_base.h"

#include "images/banner.xpm"
#include "images/footer.xpm"

VaskelBase::VaskelBase(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : QWizard(parent, flags), bannerImage(banner_xpm), footerImage(footer_xpm) {
  if (name) setObjectName(QString::fromLatin1(name));
  setModal(modal);
  setupUi(this);  // names the wizard "VaskelBase" when it has no name yet
  // The same plain look everywhere: banner, page and button row. Windows'
  // own style would choose the Aero look, with a title area of its own.
  setWizardStyle(QWizard::ClassicStyle);

  for (QLabel* banner : {pixmapLabel3, pixmapLabel3_2, pixmapLabel3_2_2, pixmapLabel3_2_2_2})
    banner->setPixmap(bannerImage);
  for (QLabel* footer :
       {pixmapLabel3_3, pixmapLabel3_3_2, pixmapLabel3_3_2_2, pixmapLabel3_3_2_2_2})
    footer->setPixmap(footerImage);

  languageChange();
  resize(QSize(543, 603).expandedTo(minimumSizeHint()));
}

// Some platforms know the room the pages and the button row need only once
// the window is shown, and set it as the minimum at the first page change,
// growing the window then: it takes that size before it is first drawn.
void VaskelBase::showEvent(QShowEvent* event) {
  QWizard::showEvent(event);
  resize(size().expandedTo(sizeHint()));
}

VaskelBase::~VaskelBase() = default;

void VaskelBase::languageChange() { retranslateUi(this); }
