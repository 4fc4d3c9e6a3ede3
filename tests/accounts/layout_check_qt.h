#pragma once
// What a user sees of a window's controls: no two shown controls overlap (a frame and what
// stands inside it excepted), each stands inside the window, and every caption is whole.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>

namespace qv::testing {

// The client area of a main window, where its controls stand: the contents of its scroll
// area where it has one.
inline QWidget* ClientOf(QMainWindow* window) {
  auto* scroller = qobject_cast<QScrollArea*>(window->centralWidget());
  return scroller != nullptr ? scroller->widget() : window->centralWidget();
}

// The named controls placed directly on `client` that are shown.
inline std::vector<QWidget*> ShownControls(QWidget* client) {
  std::vector<QWidget*> shown;
  for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->isVisibleTo(client) && !w->objectName().isEmpty()) shown.push_back(w);
  return shown;
}

inline void ExpectNoOverlap(QWidget* client) {
  const std::vector<QWidget*> shown = ShownControls(client);
  for (std::size_t a = 0; a < shown.size(); ++a) {
    const QRect ra = shown[a]->geometry();
    EXPECT_TRUE(client->rect().contains(ra)) << shown[a]->objectName().toStdString();
    for (std::size_t b = a + 1; b < shown.size(); ++b) {
      const QRect rb = shown[b]->geometry();
      const bool framed = (qobject_cast<QGroupBox*>(shown[a]) && ra.contains(rb)) ||
                          (qobject_cast<QGroupBox*>(shown[b]) && rb.contains(ra));
      EXPECT_TRUE(!ra.intersects(rb) || framed)
          << shown[a]->objectName().toStdString() << " overlaps "
          << shown[b]->objectName().toStdString();
    }
  }
}

inline void ExpectWholeCaptions(QWidget* client) {
  for (QWidget* w : ShownControls(client)) {
    QString text;
    int room = w->width();
    if (auto* label = qobject_cast<QLabel*>(w)) {
      text = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      text = button->text();  // check boxes and option buttons draw their indicator first
      room -= w->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8;
    } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
      text = frame->title();
      room -= 16;
    }
    EXPECT_TRUE(text.isEmpty() || w->fontMetrics().horizontalAdvance(text) <= room)
        << w->objectName().toStdString() << " cuts \"" << text.toStdString() << "\"";
  }
}

}  // namespace qv::testing
