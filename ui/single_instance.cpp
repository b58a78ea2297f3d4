#include "ui/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <memory>
#include <unistd.h>

namespace veldrane::ui {
namespace {

const QByteArray kEnd = "\n\n";
const QByteArray kAnswer = "ok\n";

}  // namespace

QString SingleInstance::DefaultName() {
  const QString name = qEnvironmentVariable("VELDRANE_CATALOG_INSTANCE");
  return name.isEmpty() ? QString("veldrane-catalog-%1").arg(::getuid()) : name;
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

bool SingleInstance::HandOver(const CatalogRequest& request, int timeoutMilliseconds) const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(timeoutMilliseconds)) return false;
  socket.write(request.Serialize() + kEnd);
  if (!socket.waitForBytesWritten(timeoutMilliseconds)) return false;
  QByteArray answer;
  while (!answer.contains('\n') && socket.waitForReadyRead(timeoutMilliseconds)) answer += socket.readAll();
  return answer == kAnswer;
}

bool SingleInstance::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    // Nobody answers on the name (HandOver was tried first): a stale socket.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) return false;
  }
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
  return true;
}

void SingleInstance::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
      *buffer += socket->readAll();
      if (!buffer->contains(kEnd)) return;
      const CatalogRequest request = CatalogRequest::Deserialize(buffer->left(buffer->indexOf(kEnd)));
      buffer->clear();
      socket->write(kAnswer);
      socket->flush();
      emit requestReceived(request);
    });
  }
}

}  // namespace veldrane::ui
