#include "app/OptionsOutputSlideshowDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/OptionsRules.h"
#include "app/PhotoSizeControls.h"
#include "app/UpDownCtrl.h"
#include "app/ValidateEdit.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

constexpr int kMinRepeat = 1;
constexpr int kMaxRepeat = 10;

int Checked(const QButtonGroup* group) {
  return group->checkedId();  // -1 when none
}

void Check(QButtonGroup* group, int id) {
  if (QAbstractButton* button = group->button(id)) {
    button->setChecked(true);
  } else if (QAbstractButton* checked = group->checkedButton()) {
    group->setExclusive(false);
    checked->setChecked(false);
    group->setExclusive(true);
  }
}

}  // namespace

COptionsOutputSlideshowDlg::COptionsOutputSlideshowDlg(const Settings& settings, QWidget* parent)
    : CKestoOptionsDlg(parent),
      m_values(settings.OutputSlideshow),
      m_play{new QRadioButton(QStringLiteral("手動再生"), this),
             new QRadioButton(QStringLiteral("自動再生"), this)},
      m_repeat{new QRadioButton(QStringLiteral("繰り返し再生する"), this),
               new QRadioButton(QStringLiteral("最後まで再生したら終了する"), this),
               new QRadioButton(QStringLiteral("指定回数を繰り返し再生する"), this)},
      m_playGroup(new QButtonGroup(this)),
      m_repeatGroup(new QButtonGroup(this)),
      m_duration(new CValidateEdit(this)),
      m_durationUpDown(new CUpDownCtrl(this)),
      m_durationUnit(new QLabel(QStringLiteral("秒"), this)),
      m_repeatLimitUnit(new QLabel(QStringLiteral("回"), this)),
      m_viewName(new QCheckBox(QStringLiteral("名前を表示する(&N)"), this)),
      m_viewNote(new QCheckBox(QStringLiteral("メモを表示する(&O)"), this)) {
  using namespace OptionsRules;
  for (int i = 0; i < 2; ++i) m_playGroup->addButton(m_play[i], i);
  for (int i = 0; i < 3; ++i) m_repeatGroup->addButton(m_repeat[i], i);
  Check(m_playGroup, m_values.Play);
  Check(m_repeatGroup, m_values.Repeat);
  m_playShown = Checked(m_playGroup);
  m_repeatShown = Checked(m_repeatGroup);

  m_durationLabel = MakeLabel(QStringLiteral("切り替え時間(&U):"), m_duration);
  m_duration->SetDecimalRange(kMinDuration, kMaxDuration);
  m_duration->setMaximumWidth(
      m_duration->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
  m_duration->setText(FormatDuration(StringUtils::StringToDoubleNumber(m_values.Duration)));
  m_durationUpDown->SetBuddy(m_duration);
  connect(m_durationUpDown, &CUpDownCtrl::Stepped, m_duration,
          [this](int steps) { m_duration->setText(StepDuration(m_duration->text(), steps)); });
  m_repeatLimit = MakeIntegerEdit(kMinRepeat, kMaxRepeat, &m_repeatLimitUpDown);
  m_repeatLimit->setText(QString::number(m_values.RepeatLimit));

  auto* playGroup = new QGroupBox(this);
  auto* playGrid = new QGridLayout(playGroup);
  playGrid->addWidget(m_play[0], 0, 0, 1, 2);
  playGrid->addWidget(m_play[1], 1, 0, 1, 2);
  m_durationLabel->setContentsMargins(20, 0, 0, 0);
  playGrid->addWidget(m_durationLabel, 2, 0);
  playGrid->addLayout(Pair(m_duration, m_durationUpDown, m_durationUnit), 2, 1);
  playGrid->setColumnStretch(1, 1);

  auto* repeatGroup = new QGroupBox(this);
  auto* repeatGrid = new QGridLayout(repeatGroup);
  repeatGrid->addWidget(m_repeat[0], 0, 0, 1, 2);
  repeatGrid->addWidget(m_repeat[1], 1, 0, 1, 2);
  repeatGrid->addWidget(m_repeat[2], 2, 0);
  repeatGrid->addLayout(Pair(m_repeatLimit, m_repeatLimitUpDown, m_repeatLimitUnit), 2, 1);
  repeatGrid->setColumnStretch(1, 1);

  auto* sizeGroup = new QGroupBox(this);
  auto* sizeGrid = new QGridLayout(sizeGroup);
  m_size = new CPhotoSizeControls(this, sizeGrid, 0, m_values.PhotoSize, m_values.PhotoDimensions);
  sizeGrid->setColumnStretch(2, 1);

  auto* viewGroup = new QGroupBox(this);
  auto* viewLayout = new QVBoxLayout(viewGroup);
  m_viewName->setChecked(m_values.ViewName != 0);
  m_viewNote->setChecked(m_values.ViewNote != 0);
  viewLayout->addWidget(m_viewName);
  viewLayout->addWidget(m_viewNote);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(playGroup);
  layout->addWidget(repeatGroup);
  layout->addWidget(sizeGroup);
  layout->addWidget(viewGroup);
  layout->addStretch(1);

  connect(m_playGroup, &QButtonGroup::idClicked, this, &COptionsOutputSlideshowDlg::OnPlayClicked);
  connect(m_repeatGroup, &QButtonGroup::idClicked, this,
          &COptionsOutputSlideshowDlg::OnRepeatClicked);
  UpdateEnabling();
}

void COptionsOutputSlideshowDlg::OnPlayClicked(int requested) {
  const int chosen = OptionsRules::ResolveChoice(m_playShown, requested,
                                                 OptionsRules::IsDurationEnabled(m_playShown),
                                                 m_duration->CheckText().isEmpty());
  if (chosen != requested) {
    Check(m_playGroup, chosen);
    m_duration->Validate();
    return;
  }
  m_playShown = chosen;
  UpdateEnabling();
}

void COptionsOutputSlideshowDlg::OnRepeatClicked(int requested) {
  const int chosen = OptionsRules::ResolveChoice(m_repeatShown, requested,
                                                 OptionsRules::IsRepeatLimitEnabled(m_repeatShown),
                                                 m_repeatLimit->CheckText().isEmpty());
  if (chosen != requested) {
    Check(m_repeatGroup, chosen);
    m_repeatLimit->Validate();
    return;
  }
  m_repeatShown = chosen;
  UpdateEnabling();
}

void COptionsOutputSlideshowDlg::UpdateEnabling() {
  const bool duration = OptionsRules::IsDurationEnabled(m_playShown);
  for (QWidget* widget : std::initializer_list<QWidget*>{m_durationLabel, m_duration,
                                                         m_durationUpDown, m_durationUnit}) {
    widget->setEnabled(duration);
  }
  const bool limit = OptionsRules::IsRepeatLimitEnabled(m_repeatShown);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{m_repeatLimit, m_repeatLimitUpDown, m_repeatLimitUnit}) {
    widget->setEnabled(limit);
  }
}

bool COptionsOutputSlideshowDlg::IsValid() {
  return ValidateEnabled({m_duration, m_repeatLimit, m_size->GetDimensionsEdit()});
}

void COptionsOutputSlideshowDlg::OnOK(Settings& settings) {
  if (m_playShown >= 0) m_values.Play = m_playShown;
  if (m_repeatShown >= 0) m_values.Repeat = m_repeatShown;
  // A duration the edit cannot stand behind keeps the text the file held.
  if (m_duration->CheckText().isEmpty()) {
    m_values.Duration = StringUtils::DoubleNumberToString(*ParseDecimal(m_duration->text()));
  }
  m_values.RepeatLimit = ReadInteger(m_repeatLimit, m_values.RepeatLimit);
  m_values.PhotoSize = m_size->ReadPhotoSize(m_values.PhotoSize);
  m_values.PhotoDimensions = m_size->ReadPhotoDimensions(m_values.PhotoDimensions);
  m_values.ViewName = m_viewName->isChecked() ? 1 : 0;
  m_values.ViewNote = m_viewNote->isChecked() ? 1 : 0;
  settings.OutputSlideshow = m_values;
}

}  // namespace pictavo::app
