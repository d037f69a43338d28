#pragma once

// The base of the options pages: a page edits one group of settings, may refuse to be left
// while it is not valid, and writes its values into the settings only on OK.

#include <QWidget>

#include <initializer_list>

#include "core/Settings.h"

class QLabel;
class QHBoxLayout;

namespace pictavo::app {

class CValidateEdit;
class CUpDownCtrl;

class CKestoOptionsDlg : public QWidget {
  Q_OBJECT

 public:
  explicit CKestoOptionsDlg(QWidget* parent = nullptr);

  // The validity check: false keeps the page (and the sheet) open. The first wrong field has
  // reported its message and holds the focus.
  virtual bool IsValid() { return true; }

  // Reads the controls into the page's values and writes them into settings.
  virtual void OnOK(Settings& settings) = 0;

 protected:
  // A label for buddy; its mnemonic moves the focus there.
  QLabel* MakeLabel(const QString& text, QWidget* buddy);
  // A required edit: an empty text reports the message made from the label's text.
  CValidateEdit* MakeRequiredEdit(const QString& labelText, QLabel** label);
  // An edit with an up-down that steps integers within min..max.
  CValidateEdit* MakeIntegerEdit(int min, int max, CUpDownCtrl** upDown);
  // The edit and its up-down side by side.
  static QHBoxLayout* Pair(QWidget* edit, QWidget* upDown, QWidget* unit = nullptr);

  // The edit's number when it passes its range check, else previous (nothing wrong is stored).
  static int ReadInteger(const CValidateEdit* edit, int previous);

  // Runs the enabled edits' checks in order; the first fault reports itself.
  static bool ValidateEnabled(std::initializer_list<CValidateEdit*> edits);
};

}  // namespace pictavo::app
