#pragma once
// What the catalog offers the views it shows (the "Text" tab first of all):
// the selected catalog object, a fresh read of a survey file, the status bar
// and the message interface. The catalog's main window implements it; view
// tests use a small fake.
#include <QObject>
#include <QString>

#include "ui/user_messages.h"

namespace veldrane::ui {

// A catalog object as the views see it. A folder or a survey file has its
// full path as full name; a feature class has "<survey file path>/<class
// name>" and the survey file as parent.
struct CatalogLocation {
  QString fullName;        // empty when nothing is selected
  QString parentFullName;  // empty for an object without parent
};

class CatalogHost : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  virtual CatalogLocation SelectedLocation() const = 0;
  // Reads the survey file again: the error log's entries for it are
  // replaced, and the tree and the other tabs show the new content.
  virtual void RefreshSurveyFile(const QString& path) = 0;
  // Message 0 of the status bar.
  virtual void ShowStatusMessage(const QString& text) = 0;
  virtual UserMessages& Messages() = 0;

 signals:
  // The selection has changed; SelectedLocation() gives the new one.
  void selectionChanged();
};

}  // namespace veldrane::ui
