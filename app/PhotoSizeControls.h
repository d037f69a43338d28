#pragma once

// The photo size combo with its custom size edit, as the photo and slideshow pages use it:
// the edit is enabled only on "カスタム", and leaving "カスタム" with a wrong size stays there.

#include <QObject>

class QComboBox;
class QGridLayout;
class QLabel;

namespace pictavo::app {

class CKestoOptionsDlg;
class CUpDownCtrl;
class CValidateEdit;

class CPhotoSizeControls : public QObject {
  Q_OBJECT

 public:
  // Adds the two rows "サイズ(&Z):" and "最大サイズ(&D):" to grid at row, with the values given.
  CPhotoSizeControls(QWidget* page, QGridLayout* grid, int row, int photoSize, int photoDimensions);

  QComboBox* GetCombo() const { return m_combo; }
  CValidateEdit* GetDimensionsEdit() const { return m_edit; }
  CUpDownCtrl* GetUpDown() const { return m_upDown; }

  // The size; the previous value when no row is selected.
  int ReadPhotoSize(int previous) const;
  // The custom size; the previous value when the edit holds no acceptable number.
  int ReadPhotoDimensions(int previous) const;

 private:
  void OnSelectionChanged(int requested);
  void UpdateEnabling();

  QComboBox* m_combo;
  QLabel* m_label;
  CValidateEdit* m_edit;
  CUpDownCtrl* m_upDown;
  int m_shown;  // the selection before the user's change
};

}  // namespace pictavo::app
