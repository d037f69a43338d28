#include <QtTest>

#include "app/PictavoDlg.h"

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowHasItsTitle() {
    pictavo::app::CPictavoDlg window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Pictavo"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
