#pragma once
// One catalog per user session. The first catalog listens on a local
// socket named after the user; a later `veldrane-catalog` hands its request
// (above all `--goto FILE:LINE`) to it and ends, and the running catalog
// does what was asked and comes forward.
//
// Protocol: the request as CatalogRequest::Serialize writes it, then an
// empty line; the running catalog answers "ok" and a line break.
#include <QObject>
#include <QString>

#include "ui/catalog_request.h"

class QLocalServer;

namespace veldrane::ui {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // "veldrane-catalog-<user id>", or $VELDRANE_CATALOG_INSTANCE when set
  // (tests run catalogs of their own beside the user's).
  static QString DefaultName();

  explicit SingleInstance(QString name, QObject* parent = nullptr);

  // Gives the request to a running catalog; true when one took it.
  bool HandOver(const CatalogRequest& request, int timeoutMilliseconds = 3000) const;
  // Starts taking requests; false when the name cannot be used. A name left
  // behind by a catalog that did not end cleanly is taken over.
  bool Listen();

 signals:
  void requestReceived(const CatalogRequest& request);

 private:
  void Accept();

  QString name_;
  QLocalServer* server_ = nullptr;
};

}  // namespace veldrane::ui
