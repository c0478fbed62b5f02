#include "pages/VDPPage.h"

namespace vantor {

TVDPPage::TVDPPage(QWidget* parent) : QWidget(parent) {}

}  // namespace vantor
