#include "app/UpDownCtrl.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace pictavo::app {

namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  button->setFixedWidth(18);
  return button;
}

}  // namespace

CUpDownCtrl::CUpDownCtrl(QWidget* parent)
    : QWidget(parent), m_up(MakeArrow(Qt::UpArrow, this)), m_down(MakeArrow(Qt::DownArrow, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_up);
  layout->addWidget(m_down);
  connect(m_up, &QToolButton::clicked, this, [this] { emit Stepped(1); });
  connect(m_down, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
}

void CUpDownCtrl::SetBuddy(QLineEdit* edit) {
  m_buddy = edit;
  edit->installEventFilter(this);
  setFixedHeight(edit->sizeHint().height());
}

bool CUpDownCtrl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      emit Stepped(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CUpDownCtrl::changeEvent(QEvent* event) {
  // The buttons follow the control: a disabled up-down must not step its edit.
  if (event->type() == QEvent::EnabledChange) {
    m_up->setEnabled(isEnabled());
    m_down->setEnabled(isEnabled());
  }
  QWidget::changeEvent(event);
}

}  // namespace pictavo::app
