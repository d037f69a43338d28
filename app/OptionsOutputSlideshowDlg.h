#pragma once

// Page "出力::スライドショー": play, repeat, size and texts of the slideshow.

#include "app/KestoOptionsDlg.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;

namespace pictavo::app {

class CPhotoSizeControls;
class CUpDownCtrl;
class CValidateEdit;

class COptionsOutputSlideshowDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  explicit COptionsOutputSlideshowDlg(const Settings& settings, QWidget* parent = nullptr);

  bool IsValid() override;
  void OnOK(Settings& settings) override;

  QRadioButton* GetPlayRadio(int play) const { return m_play[play]; }
  QRadioButton* GetRepeatRadio(int repeat) const { return m_repeat[repeat]; }
  CValidateEdit* GetDurationEdit() const { return m_duration; }
  CUpDownCtrl* GetDurationUpDown() const { return m_durationUpDown; }
  CValidateEdit* GetRepeatLimitEdit() const { return m_repeatLimit; }
  CPhotoSizeControls* GetSize() const { return m_size; }

 private:
  void OnPlayClicked(int requested);
  void OnRepeatClicked(int requested);
  void UpdateEnabling();

  decltype(Settings::OutputSlideshow) m_values;
  QRadioButton* m_play[2];
  QRadioButton* m_repeat[3];
  QButtonGroup* m_playGroup;
  QButtonGroup* m_repeatGroup;
  int m_playShown;
  int m_repeatShown;
  QLabel* m_durationLabel;
  CValidateEdit* m_duration;
  CUpDownCtrl* m_durationUpDown;
  QLabel* m_durationUnit;
  CValidateEdit* m_repeatLimit;
  CUpDownCtrl* m_repeatLimitUpDown;
  QLabel* m_repeatLimitUnit;
  CPhotoSizeControls* m_size;
  QCheckBox* m_viewName;
  QCheckBox* m_viewNote;
};

}  // namespace pictavo::app
