#include "app/Application.h"

#include <QApplication>

#include "app/PictavoDlg.h"

namespace pictavo::app {

int RunApplication(int argc, char* argv[]) {
  QApplication application(argc, argv);
  CPictavoDlg window;
  window.show();
  return application.exec();
}

}  // namespace pictavo::app
