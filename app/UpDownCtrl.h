#pragma once

// An up-down control beside an edit: it holds no value of its own, each click (or the Up and
// Down keys in the edit) asks for one step of the edit's number.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace pictavo::app {

class CUpDownCtrl : public QWidget {
  Q_OBJECT

 public:
  explicit CUpDownCtrl(QWidget* parent = nullptr);

  // The edit whose Up and Down keys step as the buttons do.
  void SetBuddy(QLineEdit* edit);
  QToolButton* GetUpButton() const { return m_up; }
  QToolButton* GetDownButton() const { return m_down; }

 signals:
  void Stepped(int steps);  // +1 up, -1 down

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QToolButton* m_up;
  QToolButton* m_down;
  QLineEdit* m_buddy = nullptr;
};

}  // namespace pictavo::app
