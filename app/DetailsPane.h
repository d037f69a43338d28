#pragma once

// The details pane: file name, type, the preview (black-backed, centred) and the twelve
// labelled property rows of the highlighted item.

#include <QImage>
#include <QWidget>
#include <array>

#include "core/AlbumItem.h"

class QLabel;

namespace pictavo::app {

// Paints the picture centred on black; with no picture it paints nothing (the area is erased).
class PreviewArea final : public QWidget {
  Q_OBJECT

 public:
  explicit PreviewArea(QWidget* parent = nullptr);
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return m_picture; }
  QSize sizeHint() const override { return {240, 180}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_picture;
};

class DetailsPane final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRowCount = 12;

  explicit DetailsPane(QWidget* parent = nullptr);
  // Shows the item's texts and its preview.
  void ShowItem(const ALBUMITEM& item);
  // Hides the texts and erases the preview.
  void Clear();
  bool TextsVisible() const;
  QString ValueText(int row) const;
  QString LabelText(int row) const;
  QString NameText() const;
  PreviewArea* Preview() const { return m_preview; }

 private:
  void LoadPreview();

  QLabel* m_name;
  QLabel* m_type;
  PreviewArea* m_preview;
  std::array<QLabel*, kRowCount> m_labels{};
  std::array<QLabel*, kRowCount> m_values{};
  std::string m_previewPath;
  QImage m_loadedPicture;
  std::string m_loadedPath;
  QSize m_loadedFor;
};

// The preview picture of an image: decoded at the size it is shown (shrink-on-load), fitted
// into limit (device pixels) with its proportions; null when the file is no readable image.
QImage LoadPreviewImage(const std::string& path, QSize limit);

}  // namespace pictavo::app
