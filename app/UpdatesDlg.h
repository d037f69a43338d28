#pragma once

// The dialogs of the update check: the question whether to download the newer version, and its
// details with the list of changes and the link to the change history.

#include <QDialog>
#include <functional>
#include <string>

#include "app/UpdatesFuncs.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace pictavo::app {

// Opens the change history address (the desktop's browser).
using OpenLink = std::function<void(const std::string& url)>;

class CMessageUpdatesQuestionDlg final : public QDialog {
  Q_OBJECT

 public:
  // exec() results: "はい(&Y)" and "いいえ(&N)".
  static constexpr int kYes = 6;
  static constexpr int kNo = 7;

  CMessageUpdatesQuestionDlg(const UpdatesFuncs::UpdatesInformation& info, OpenLink openLink,
                             QWidget* parent = nullptr);

  QLabel* Text() const { return m_text; }
  QPushButton* YesButton() const { return m_yes; }
  QPushButton* NoButton() const { return m_no; }
  QPushButton* MoreInfoButton() const { return m_more; }

 public slots:
  void reject() override;

 private:
  const UpdatesFuncs::UpdatesInformation& m_info;
  OpenLink m_openLink;
  QLabel* m_text = nullptr;
  QPushButton* m_yes = nullptr;
  QPushButton* m_no = nullptr;
  QPushButton* m_more = nullptr;
};

class CUpdatesMoreInfoDlg final : public QDialog {
  Q_OBJECT

 public:
  CUpdatesMoreInfoDlg(const UpdatesFuncs::UpdatesInformation& info, OpenLink openLink,
                      QWidget* parent = nullptr);

  QLabel* Text() const { return m_text; }
  QLabel* Link() const { return m_link; }
  QTreeWidget* Changes() const { return m_changes; }

 private:
  QLabel* m_text = nullptr;
  QLabel* m_link = nullptr;
  QTreeWidget* m_changes = nullptr;
};

// The icon of a change kind (0 new feature, 1 changed behaviour, 2 fix); none for others.
QIcon UpdateKindIcon(int kind);

}  // namespace pictavo::app
