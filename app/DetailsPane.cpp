#include "app/DetailsPane.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/StringUtils.h"
#include "items/ImageUtils.h"
#include "items/VipsImage.h"

namespace pictavo::app {

namespace {

// Label string and value of each row, in pane order.
struct DetailRow {
  int stringId;
  std::string ALBUMITEM::*value;
};
constexpr std::array<DetailRow, DetailsPane::kRowCount> kRows = {{
    {10009, &ALBUMITEM::dateTakenText},
    {10010, &ALBUMITEM::dimensionsText},
    {10003, &ALBUMITEM::sizeText},
    {10013, &ALBUMITEM::cameraMaker},
    {10014, &ALBUMITEM::cameraModel},
    {10015, &ALBUMITEM::exifVersion},
    {10016, &ALBUMITEM::software},
    {10017, &ALBUMITEM::exposureProgram},
    {10018, &ALBUMITEM::xResolutionText},
    {10019, &ALBUMITEM::yResolutionText},
    {10006, &ALBUMITEM::createdText},
    {10005, &ALBUMITEM::modifiedText},
}};

// Hidden texts keep their place, so the pane does not jump between one and two rows.
void KeepPlace(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

QLabel* ValueLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(1);
  KeepPlace(label);
  return label;
}

}  // namespace

PreviewArea::PreviewArea(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFixedHeight(150);
}

void PreviewArea::SetPicture(const QImage& picture) {
  m_picture = picture;
  update();
}

void PreviewArea::paintEvent(QPaintEvent*) {
  if (m_picture.isNull()) return;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  const qreal ratio = m_picture.devicePixelRatio();
  const QSizeF shown(m_picture.width() / ratio, m_picture.height() / ratio);
  const QPointF origin((width() - shown.width()) / 2, (height() - shown.height()) / 2);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(origin, shown), m_picture);
}

QImage LoadPreviewImage(const std::string& path, QSize limit) {
  if (limit.width() <= 0 || limit.height() <= 0) return {};
  const ImageUtils::ImageHeader header = ImageUtils::GetImageHeader(path);
  if (!header.ok || header.width <= 0 || header.height <= 0) return {};
  // The longer side takes the area's height, as far as the width allows; never enlarged.
  ImageUtils::ImageSize size =
      ImageUtils::GetThumbnailSize(ImageUtils::SizeOf(header), limit.height());
  if (size.width > limit.width()) {
    size.height = std::max(
        1, static_cast<int>(static_cast<qint64>(size.height) * limit.width() / size.width));
    size.width = limit.width();
  }
  std::string bytes;
  std::string error;
  if (!VipsImage::EncodeThumbnail(path, header, size.width, size.height, "image/png", &bytes,
                                  &error))
    return {};
  QImage image;
  image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
  return image;
}

DetailsPane::DetailsPane(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_name = ValueLabel(this);
  QFont bold = m_name->font();
  bold.setBold(true);
  m_name->setFont(bold);
  m_type = ValueLabel(this);
  m_preview = new PreviewArea(this);
  layout->addWidget(m_name);
  layout->addWidget(m_type);
  layout->addWidget(m_preview);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(0);
  for (int row = 0; row < kRowCount; ++row) {
    m_labels[row] = new QLabel(
        QString::fromStdString(StringUtils::GetLoadString(kRows[row].stringId) + ":"), this);
    m_labels[row]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    KeepPlace(m_labels[row]);
    m_values[row] = ValueLabel(this);
    grid->addWidget(m_labels[row], row, 0);
    grid->addWidget(m_values[row], row, 1);
  }
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);
  layout->addStretch(1);
  Clear();
}

void DetailsPane::ShowItem(const ALBUMITEM& item) {
  m_name->setText(QString::fromStdString(item.name));
  m_type->setText(QString::fromStdString(item.typeText));
  for (int row = 0; row < kRowCount; ++row) {
    m_values[row]->setText(QString::fromStdString(item.*kRows[row].value));
    m_labels[row]->show();
    m_values[row]->show();
  }
  m_name->show();
  m_type->show();
  m_previewPath = item.fullPath;
  m_preview->SetPicture({});
  // Decoded once the event loop is free, so holding an arrow key does not queue decodes.
  QTimer::singleShot(0, this, &DetailsPane::LoadPreview);
}

void DetailsPane::Clear() {
  m_previewPath.clear();
  m_preview->SetPicture({});
  m_name->hide();
  m_type->hide();
  for (int row = 0; row < kRowCount; ++row) {
    m_labels[row]->hide();
    m_values[row]->hide();
  }
}

void DetailsPane::LoadPreview() {
  if (m_previewPath.empty()) return;
  const qreal ratio = devicePixelRatioF();
  const QSize limit = (QSizeF(m_preview->size()) * ratio).toSize();
  if (m_loadedPath != m_previewPath || m_loadedFor != limit) {
    m_loadedPicture = LoadPreviewImage(m_previewPath, limit);
    m_loadedPicture.setDevicePixelRatio(ratio);
    m_loadedPath = m_previewPath;
    m_loadedFor = limit;
  }
  m_preview->SetPicture(m_loadedPicture);
}

bool DetailsPane::TextsVisible() const {
  return !m_name->isHidden();
}

QString DetailsPane::ValueText(int row) const {
  return m_values[row]->text();
}

QString DetailsPane::LabelText(int row) const {
  return m_labels[row]->text();
}

QString DetailsPane::NameText() const {
  return m_name->text();
}

}  // namespace pictavo::app
