#pragma once

// "フォルダーを開く": the user types a path, picks one from the address history, browses for a
// folder or drops one onto the dialog; OK only for a path that exists.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QPushButton;

namespace pictavo::app {

class CFileOpenAddressDlg final : public QDialog {
  Q_OBJECT

 public:
  using BrowseFolder =
      std::function<std::optional<std::string>(QWidget* parent, const std::string& start)>;

  // historyFilePath: the address history file (entries that no longer exist are left out);
  // browse: the folder browser of "参照(&R)...".
  CFileOpenAddressDlg(const std::string& historyFilePath, BrowseFolder browse,
                      QWidget* parent = nullptr);

  // The path, valid after OK.
  const std::string& GetPath() const { return m_path; }

  QComboBox* PathCombo() const { return m_combo; }
  QPushButton* OkButton() const { return m_ok; }
  QPushButton* BrowseButton() const { return m_browse; }
  // What a drop of these local paths does (the last folder wins, the rest is ignored).
  void DropPaths(const QStringList& paths);

 public slots:
  void accept() override;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void UpdateOk();
  void Browse();

  BrowseFolder m_browseFolder;
  QComboBox* m_combo = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_browse = nullptr;
  std::string m_path;
};

}  // namespace pictavo::app
