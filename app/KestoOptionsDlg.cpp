#include "app/KestoOptionsDlg.h"

#include <QHBoxLayout>
#include <QLabel>

#include "app/OptionsRules.h"
#include "app/UpDownCtrl.h"
#include "app/ValidateEdit.h"

namespace pictavo::app {

CKestoOptionsDlg::CKestoOptionsDlg(QWidget* parent) : QWidget(parent) {}

QLabel* CKestoOptionsDlg::MakeLabel(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, this);
  label->setBuddy(buddy);
  return label;
}

CValidateEdit* CKestoOptionsDlg::MakeRequiredEdit(const QString& labelText, QLabel** label) {
  auto* edit = new CValidateEdit(this);
  *label = MakeLabel(labelText, edit);
  edit->SetErrorMessage(MakeFieldErrorMessage((*label)->text()));
  return edit;
}

CValidateEdit* CKestoOptionsDlg::MakeIntegerEdit(int min, int max, CUpDownCtrl** upDown) {
  auto* edit = new CValidateEdit(this);
  edit->SetIntegerRange(min, max);
  edit->setMaxLength(11);
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  *upDown = new CUpDownCtrl(this);
  (*upDown)->SetBuddy(edit);
  connect(*upDown, &CUpDownCtrl::Stepped, edit, [edit, min, max](int steps) {
    edit->setText(OptionsRules::StepInteger(edit->text(), steps, min, max));
  });
  return edit;
}

QHBoxLayout* CKestoOptionsDlg::Pair(QWidget* edit, QWidget* upDown, QWidget* unit) {
  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  row->addWidget(edit);
  row->addWidget(upDown);
  if (unit) {
    row->addSpacing(6);
    row->addWidget(unit);
  }
  row->addStretch(1);
  return row;
}

int CKestoOptionsDlg::ReadInteger(const CValidateEdit* edit, int previous) {
  if (!edit->CheckText().isEmpty()) return previous;
  return ParseInteger(edit->text()).value_or(previous);
}

bool CKestoOptionsDlg::ValidateEnabled(std::initializer_list<CValidateEdit*> edits) {
  for (CValidateEdit* edit : edits) {
    if (edit->isEnabled() && !edit->Validate()) return false;
  }
  return true;
}

}  // namespace pictavo::app
