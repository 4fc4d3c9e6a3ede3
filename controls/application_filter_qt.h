#pragma once
// An event filter for every window of the application, put in place once however often the
// program's windows are set up: the filter object is a child of the application, found again
// by its name.

#include <QApplication>
#include <QString>

namespace qv {

// Returns the filter when this call put it in place, null when it was there already.
template <typename Filter>
Filter* InstallApplicationFilter(QApplication& app, const QString& name) {
  if (app.findChild<QObject*>(name, Qt::FindDirectChildrenOnly) != nullptr) return nullptr;
  auto* filter = new Filter(&app);
  filter->setObjectName(name);
  app.installEventFilter(filter);
  return filter;
}

}  // namespace qv
