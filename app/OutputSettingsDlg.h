#pragma once

// The output settings dialog ("出力先の設定"): the album folder's name and location and the
// title and heading of one output run. It works on the values the caller gives and hands them
// back after OK; the checks of OK are the output settings model's. An empty field is reported
// by its validating edit, the other refusals through the host.

#include <QDialog>

#include "album/OutputSettingsModel.h"
#include "app/ValidateEdit.h"
#include "core/Host.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace pictavo::app {

class COutputSettingsDlg final : public QDialog {
  Q_OBJECT

 public:
  // Messages (a refused OK) go through host, so they look like every other message.
  COutputSettingsDlg(QWidget* parent, Host& host);

  void SetValues(const OutputSettingsValues& values);
  OutputSettingsValues GetValues() const;

  CValidateEdit* Edit(OutputSettingsModel::Field field) const;
  QLabel* Label(OutputSettingsModel::Field field) const;
  QCheckBox* PreferDetailedSettings() const { return m_preferDetailed; }
  QPushButton* OkButton() const { return m_ok; }
  // The text the validating edit of field reports when it is left empty, made from its label.
  QString ErrorMessage(OutputSettingsModel::Field field) const;

 public slots:
  void accept() override;

 private:
  void UpdateTitleHeaderEnabled();
  void Browse();

  Host& m_host;
  QLabel* m_labels[4] = {};
  CValidateEdit* m_edits[4] = {};
  QCheckBox* m_preferDetailed = nullptr;
  QPushButton* m_browse = nullptr;
  QPushButton* m_ok = nullptr;
};

}  // namespace pictavo::app
