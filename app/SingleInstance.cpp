#include "app/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QtEndian>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "core/FileUtils.h"

namespace pictavo::app {

namespace {

// A request: the magic, the payload's length (32 bits, big-endian), then each path followed
// by a NUL (no path can hold one). The first copy answers one byte once it has taken it.
constexpr char kMagic[4] = {'P', 'C', 'T', 'V'};
constexpr int kHeaderSize = 8;
constexpr quint32 kMaxPayload = 1 << 20;  // far above any command line; bounds what we buffer
constexpr char kAck = '1';
constexpr int kClientTimeoutMs = 10000;  // a client that sends nothing is dropped after this
constexpr int kBusyRetryMs = 200;
constexpr std::size_t kMaxSocketPath = 100;  // sun_path holds 108 bytes with its NUL

QByteArray EncodeRequest(const std::vector<std::string>& paths) {
  QByteArray payload;
  for (const std::string& path : paths) {
    if (path.empty() || path.find('\0') != std::string::npos) continue;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    payload.append(ec ? path : absolute.string());
    payload.append('\0');
  }
  QByteArray request(kMagic, sizeof kMagic);
  char length[4];
  qToBigEndian(static_cast<quint32>(payload.size()), length);
  request.append(length, sizeof length);
  request.append(payload);
  return request;
}

// The paths of a complete request in buffer; false while it is incomplete. A malformed request
// sets *bad.
bool DecodeRequest(const QByteArray& buffer, std::vector<std::string>* paths, bool* bad) {
  if (buffer.size() >= 4 && !buffer.startsWith(QByteArray(kMagic, sizeof kMagic))) {
    *bad = true;
    return false;
  }
  if (buffer.size() < kHeaderSize) return false;
  const quint32 length = qFromBigEndian<quint32>(buffer.constData() + 4);
  if (length > kMaxPayload) {
    *bad = true;
    return false;
  }
  if (static_cast<quint32>(buffer.size() - kHeaderSize) < length) return false;
  const QByteArray payload = buffer.mid(kHeaderSize, static_cast<qsizetype>(length));
  for (const QByteArray& path : payload.split('\0')) {
    if (!path.isEmpty()) paths->push_back(path.toStdString());
  }
  return true;
}

}  // namespace

std::string GetInstanceName(bool portable) {
  return std::string("PictavoApplication") + (portable ? "Portable" : "");
}

SingleInstance::SingleInstance(std::string settingsFolder, std::string name)
    : m_settingsFolder(std::move(settingsFolder)), m_name(std::move(name)) {
  connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

SingleInstance::~SingleInstance() {
  m_server.close();
  if (m_lockFd >= 0) ::close(m_lockFd);  // releases the lock
}

std::string SingleInstance::LockPath() const {
  return FileUtils::GetCombinePath(m_settingsFolder, m_name + ".lock");
}

std::string SingleInstance::SocketPath() const {
  const std::string beside = FileUtils::GetCombinePath(m_settingsFolder, m_name + ".socket");
  if (beside.size() <= kMaxSocketPath) return beside;
  // A deep settings folder cannot hold a socket: the user's runtime folder does, under a name
  // that stays unique per settings folder.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || *runtime != '/') return beside;
  const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(m_settingsFolder),
                                                   QCryptographicHash::Sha1)
                              .toHex()
                              .left(16);
  return FileUtils::GetCombinePath(runtime, m_name + "-" + hash.toStdString() + ".socket");
}

SingleInstance::Role SingleInstance::Start(const std::vector<std::string>& paths,
                                           std::chrono::milliseconds wait) {
  if (TakeLock()) {
    Listen();
    return Role::First;
  }
  if (m_lockFd == -2) return Role::Alone;  // no lock file could be made: nothing to share
  return HandOver(paths, wait) ? Role::HandedOver : Role::Alone;
}

bool SingleInstance::TakeLock() {
  FileUtils::CreateFolderPathExists(m_settingsFolder);
  const int fd = ::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    m_lockFd = -2;
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    m_lockFd = held ? -1 : -2;
    return false;
  }
  m_lockFd = fd;
  return true;
}

bool SingleInstance::Listen() {
  const QString path = QString::fromStdString(SocketPath());
  // The lock is ours, so a socket file left there belongs to a copy that has died.
  QLocalServer::removeServer(path);
  m_server.setSocketOptions(QLocalServer::UserAccessOption);
  return m_server.listen(path);
}

bool SingleInstance::HandOver(const std::vector<std::string>& paths,
                              std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  const auto remaining = [&deadline] {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
  };
  QLocalSocket socket;
  // The first copy listens right after it took the lock; give it that moment.
  for (;;) {
    socket.connectToServer(QString::fromStdString(SocketPath()));
    if (socket.waitForConnected(remaining())) break;
    if (remaining() == 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  socket.write(EncodeRequest(paths));
  if (!socket.waitForBytesWritten(remaining())) return false;
  while (socket.bytesAvailable() < 1) {
    if (!socket.waitForReadyRead(remaining())) return false;
  }
  char ack = 0;
  return socket.getChar(&ack) && ack == kAck;
}

void SingleInstance::Accept() {
  while (QLocalSocket* client = m_server.nextPendingConnection()) {
    auto buffer = std::make_shared<QByteArray>();
    QPointer<QLocalSocket> guard(client);
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    QTimer::singleShot(kClientTimeoutMs, client, [guard] {
      if (guard != nullptr) guard->abort();
    });
    connect(client, &QLocalSocket::readyRead, this, [this, client, buffer] {
      buffer->append(client->readAll());
      std::vector<std::string> paths;
      bool bad = false;
      if (!DecodeRequest(*buffer, &paths, &bad)) {
        if (bad) client->abort();
        return;
      }
      QObject::disconnect(client, &QLocalSocket::readyRead, this, nullptr);
      client->write(&kAck, 1);
      client->flush();
      client->disconnectFromServer();
      m_requests.push_back(std::move(paths));
      if (!m_deliveryScheduled) {
        m_deliveryScheduled = true;
        QTimer::singleShot(0, this, &SingleInstance::Deliver);
      }
    });
  }
}

void SingleInstance::SetHandler(std::function<void(const std::vector<std::string>&)> handler) {
  m_handler = std::move(handler);
  if (m_handler && !m_requests.empty() && !m_deliveryScheduled) {
    m_deliveryScheduled = true;
    QTimer::singleShot(0, this, &SingleInstance::Deliver);
  }
}

void SingleInstance::Deliver() {
  m_deliveryScheduled = false;
  if (m_requests.empty() || !m_handler) return;
  if (m_busy && m_busy()) {
    m_deliveryScheduled = true;
    QTimer::singleShot(kBusyRetryMs, this, &SingleInstance::Deliver);
    return;
  }
  const std::vector<std::string> paths = std::move(m_requests.front());
  m_requests.pop_front();
  m_handler(paths);
  if (!m_requests.empty() && !m_deliveryScheduled) {
    m_deliveryScheduled = true;
    QTimer::singleShot(0, this, &SingleInstance::Deliver);
  }
}

}  // namespace pictavo::app
