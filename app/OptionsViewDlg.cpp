#include "app/OptionsViewDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace pictavo::app {

namespace {

// The eight flags in the order of the check boxes.
int* Flags(decltype(Settings::View)& view, int index) {
  int* const flags[] = {&view.ReadOnly, &view.Hidden, &view.System, &view.GIF,
                        &view.JPEG,     &view.PNG,    &view.TIFF,   &view.AllFile};
  return flags[index];
}

}  // namespace

COptionsViewDlg::COptionsViewDlg(const Settings& settings, QWidget* parent)
    : CKestoOptionsDlg(parent), m_values(settings.View) {
  static const char* const kLabels[] = {
      "読み取り専用(&R)",  "隠しファイル(&H)", "システム ファイル(&S)", "GIF ファイル(&G)",
      "JPEG ファイル(&J)", "PNG ファイル(&P)", "TIFF ファイル(&T)",     "すべてのファイル(&A)"};
  auto* attributes = new QGroupBox(QStringLiteral("表示属性"), this);
  auto* attributesLayout = new QVBoxLayout(attributes);
  auto* images = new QGroupBox(QStringLiteral("表示画像"), this);
  auto* imagesLayout = new QVBoxLayout(images);
  for (int i = 0; i < 8; ++i) {
    m_checks[i] = new QCheckBox(QString::fromUtf8(kLabels[i]), this);
    m_checks[i]->setChecked(*Flags(m_values, i) != 0);
    (i < 3 ? attributesLayout : imagesLayout)->addWidget(m_checks[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(attributes);
  layout->addWidget(images);
  layout->addStretch(1);
}

void COptionsViewDlg::OnOK(Settings& settings) {
  for (int i = 0; i < 8; ++i) *Flags(m_values, i) = m_checks[i]->isChecked() ? 1 : 0;
  settings.View = m_values;
}

}  // namespace pictavo::app
