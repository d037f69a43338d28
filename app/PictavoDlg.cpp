#include "app/PictavoDlg.h"

namespace pictavo::app {

CPictavoDlg::CPictavoDlg(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Pictavo"));
}

}  // namespace pictavo::app
