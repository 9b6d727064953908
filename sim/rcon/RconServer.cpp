#include "sim/rcon/RconServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace sim::rcon {
namespace {

std::string SystemError(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

std::string EncodePacket(int32_t id, int32_t type, std::string_view body) {
  std::string bytes;
  AppendPacket(bytes, id, type, body);
  return bytes;
}

int MillisecondsUntil(Clock::time_point when, Clock::time_point now) {
  if (when <= now) {
    return 0;
  }
  // Rounded up, so that the owner does not wake a moment early and spin.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
  return static_cast<int>(std::min<decltype(wait)>(wait, 1 << 30));
}

}  // namespace

RconServer::RconServer(std::string password, Execute execute, RconOptions options)
    : password_(std::move(password)), execute_(std::move(execute)), options_(options) {}

RconServer::~RconServer() {
  Close();
}

bool RconServer::Listen(uint16_t port, std::string* error) {
  UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!socket.Valid()) {
    *error = SystemError("socket");
    return false;
  }
  const int on = 1;
  ::setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    *error = SystemError(("bind 127.0.0.1:" + std::to_string(port)).c_str());
    return false;
  }
  if (::listen(socket.Get(), SOMAXCONN) != 0) {
    *error = SystemError("listen");
    return false;
  }
  socklen_t length = sizeof address;
  if (::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    *error = SystemError("getsockname");
    return false;
  }
  port_ = ntohs(address.sin_port);
  listener_ = std::move(socket);
  close_requested_ = false;
  return true;
}

void RconServer::AppendPollFds(std::vector<pollfd>& fds) const {
  const Clock::time_point now = Clock::now();
  if (listener_.Valid() && !ListenerResting(now)) {
    fds.push_back(pollfd{listener_.Get(), POLLIN, 0});
  }
  for (const auto& [id, client] : clients_) {
    short events = client->closing ? 0 : POLLIN;
    if (client->connection.HasDueOutput(now)) {
      events = static_cast<short>(events | POLLOUT);
    }
    fds.push_back(pollfd{client->connection.Fd(), events, 0});
  }
}

int RconServer::PollTimeoutMs() const {
  const Clock::time_point now = Clock::now();
  int timeout = -1;
  const auto consider = [&](Clock::time_point when) {
    const int wait = MillisecondsUntil(when, now);
    timeout = timeout < 0 ? wait : std::min(timeout, wait);
  };
  if (listener_.Valid() && ListenerResting(now)) {
    consider(accept_again_at_);
  }
  for (const auto& [id, client] : clients_) {
    if (const auto held = client->connection.HeldUntil()) {
      consider(*held);
    }
    if (!client->authenticated && !client->closing) {
      consider(client->connection.AcceptedAt() + options_.auth_timeout);
    }
  }
  return timeout;
}

void RconServer::Service(const std::vector<pollfd>& fds) {
  in_service_ = true;
  ServiceClients(fds);
  in_service_ = false;
  if (close_requested_) {
    Close();
    return;
  }
  const Clock::time_point now = Clock::now();
  if (listener_.Valid() && !ListenerResting(now)) {
    Accept(now);
  }
}

bool RconServer::ListenerResting(Clock::time_point now) const {
  return now < accept_again_at_;
}

void RconServer::ServiceClients(const std::vector<pollfd>& fds) {
  std::unordered_map<int, short> revents;
  for (const pollfd& entry : fds) {
    revents[entry.fd] |= entry.revents;
  }
  const Clock::time_point now = Clock::now();
  for (auto& [id, client] : clients_) {
    if (close_requested_) {
      break;
    }
    const auto found = revents.find(client->connection.Fd());
    ServiceClient(*client, found != revents.end() ? found->second : 0, now);
  }
  Sweep();
}

void RconServer::ServiceClient(Client& client, short revents, Clock::time_point now) {
  if (client.dead) {
    return;
  }
  if (client.closing && (revents & (POLLHUP | POLLERR)) != 0) {
    client.dead = true;  // nobody left to read what is still queued
    return;
  }
  if (!client.closing && (revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
    ReadPackets(client);
    if (client.dead) {
      return;
    }
  }
  if (!client.authenticated && !client.closing &&
      now - client.connection.AcceptedAt() >= options_.auth_timeout) {
    client.dead = true;
    return;
  }
  Flush(client, now);
}

void RconServer::ReadPackets(Client& client) {
  const Connection::ReadOutcome outcome = client.connection.ReadAvailable();
  if (outcome == Connection::ReadOutcome::kFailed) {
    client.dead = true;
    return;
  }
  std::string& inbound = client.connection.Inbound();
  size_t offset = 0;
  while (!client.closing && !client.dead && !close_requested_) {
    ParseResult parsed = ParsePacket(std::string_view(inbound).substr(offset));
    if (parsed.status == ParseStatus::kIncomplete) {
      break;
    }
    if (parsed.status == ParseStatus::kMalformed) {
      client.dead = true;
      return;
    }
    offset += parsed.consumed;
    HandlePacket(client, std::move(parsed.packet));
  }
  inbound.erase(0, offset);
  // A client that stopped sending still gets the answers to what it sent in
  // full; a packet it left half-sent is dropped with it.
  if (outcome == Connection::ReadOutcome::kEndOfStream) {
    client.closing = true;
  }
}

void RconServer::HandlePacket(Client& client, Packet packet) {
  if (packet.type == kTypeAuth) {
    AnswerPassword(client, packet.id, !password_.empty() && packet.body == password_);
    return;
  }
  if (!client.authenticated) {
    Refuse(client);
    return;
  }
  if (packet.type == kTypeExecCommand) {
    execute_(client.id, packet.id, std::move(packet.body));
    return;
  }
  if (packet.type == kTypeResponseValue) {
    client.connection.Queue(EncodePacket(packet.id, kTypeResponseValue, {}));
  }
  // Other types mean nothing to this server and are ignored.
}

void RconServer::AnswerPassword(Client& client, int32_t request_id, bool accepted) {
  client.authenticated = accepted;
  const int32_t id = accepted ? request_id : kRefusedId;
  client.connection.Queue(EncodePacket(id, kTypeResponseValue, {}));
  client.connection.Queue(EncodePacket(id, kTypeAuthResponse, {}), /*after_pause=*/true);
}

void RconServer::Refuse(Client& client) {
  client.connection.Queue(EncodePacket(kRefusedId, kTypeAuthResponse, {}));
  client.closing = true;
}

void RconServer::Flush(Client& client, Clock::time_point now) {
  if (client.dead) {
    return;
  }
  if (client.connection.PendingBytes() > options_.max_pending_output ||
      !client.connection.Flush(now, options_.auth_reply_pause)) {
    client.dead = true;
    return;
  }
  if (client.closing && client.connection.PendingBytes() == 0) {
    client.dead = true;
  }
}

void RconServer::Reply(ClientId client_id, int32_t request_id, int32_t type,
                       const std::string& body) {
  const auto found = clients_.find(client_id);
  if (found == clients_.end() || found->second->dead) {
    return;
  }
  Connection& connection = found->second->connection;
  std::string bytes;
  size_t at = 0;
  do {
    const std::string_view part = std::string_view(body).substr(at, kMaxBodyBytes);
    AppendPacket(bytes, request_id, type, part);
    at += part.size();
  } while (at < body.size());
  connection.Queue(std::move(bytes));
}

void RconServer::Accept(Clock::time_point now) {
  for (;;) {
    UniqueFd socket(::accept4(listener_.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!socket.Valid()) {
      // Out of descriptors or memory, the waiting client stays queued and
      // the listener readable: rest it, or the loop spins until some free
      // up. EAGAIN (none left) and a client that gave up while queued end
      // this pass only.
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        accept_again_at_ = now + options_.accept_backoff;
      }
      return;
    }
    if (clients_.size() >= options_.max_clients) {
      continue;  // closed as it goes out of scope
    }
    // Answers are small and each should leave at once.
    const int on = 1;
    ::setsockopt(socket.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    const ClientId id = next_id_++;
    clients_.emplace(id, std::make_unique<Client>(Client{id, Connection(std::move(socket), now)}));
  }
}

void RconServer::Sweep() {
  std::erase_if(clients_, [](const auto& entry) { return entry.second->dead; });
}

void RconServer::Close() {
  if (in_service_) {
    // Called from a command run by Service: finish that pass first.
    close_requested_ = true;
    return;
  }
  listener_.Reset();
  clients_.clear();
  port_ = 0;
}

}  // namespace sim::rcon
