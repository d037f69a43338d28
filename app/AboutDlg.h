#pragma once

// The about box ("バージョン情報"): the product, its version, the operating system and the
// maker's web site.

#include <QDialog>

class QWidget;

namespace pictavo::app {

class CAboutDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

// Shows the about box modally.
void ShowAboutDialog(QWidget* parent);

}  // namespace pictavo::app
