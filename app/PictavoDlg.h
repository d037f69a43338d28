#pragma once

// The main window.

#include <QMainWindow>

namespace pictavo::app {

class CPictavoDlg : public QMainWindow {
  Q_OBJECT

 public:
  explicit CPictavoDlg(QWidget* parent = nullptr);
};

}  // namespace pictavo::app
