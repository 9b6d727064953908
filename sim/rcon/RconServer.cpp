#include "sim/rcon/RconServer.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace sim::rcon {
namespace {

// Addresses whose wrong passwords are remembered at most; past them, the
// address whose last wrong one is oldest is forgotten first.
constexpr size_t kMaxRememberedAddresses = 1024;

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
  uint16_t bound = 0;
  UniqueSocket socket = ListenOnLoopback(port, &bound, error);
  if (!socket.Valid()) {
    return false;
  }
  port_ = bound;
  listener_ = std::move(socket);
  close_requested_ = false;
  return true;
}

void RconServer::AppendPollFds(std::vector<PollFd>& fds) const {
  const Clock::time_point now = Clock::now();
  if (listener_.Valid() && !ListenerResting(now)) {
    fds.push_back(PollFd{listener_.Get(), POLLIN, 0});
  }
  for (const auto& [id, client] : clients_) {
    // A held password keeps what follows it unread, and so does an ended input.
    const bool reading = !client->closing && !client->input_ended && !client->password_held;
    short events = reading ? POLLIN : 0;
    if (client->connection.HasDueOutput(now)) {
      events = static_cast<short>(events | POLLOUT);
    }
    fds.push_back(PollFd{client->connection.Socket(), events, 0});
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
    if (client->password_held) {
      consider(PasswordDue(client->peer.address));
    }
  }
  return timeout;
}

void RconServer::Service(const std::vector<PollFd>& fds) {
  std::unordered_map<SocketHandle, short> revents;
  for (const PollFd& entry : fds) {
    revents[entry.fd] |= entry.revents;
  }
  Clock::time_point now = Clock::now();
  in_service_ = true;
  for (auto& [id, client] : clients_) {
    if (close_requested_) {
      break;
    }
    const auto found = revents.find(client->connection.Socket());
    ServiceClient(*client, found != revents.end() ? found->second : 0, now);
  }
  std::erase_if(clients_, [](const auto& entry) { return entry.second->dead; });
  in_service_ = false;
  if (close_requested_) {
    Close();
    return;
  }
  now = Clock::now();
  if (listener_.Valid() && !ListenerResting(now)) {
    Accept(now);
  }
}

bool RconServer::ListenerResting(Clock::time_point now) const {
  return now < accept_again_at_;
}

void RconServer::ServiceClient(Client& client, short revents, Clock::time_point now) {
  if (client.dead) {
    return;
  }
  const bool hung_up = (revents & (POLLHUP | POLLERR)) != 0;
  if (hung_up && (client.closing || client.input_ended)) {
    client.dead = true;  // nobody left to read what is still queued
    return;
  }
  if (!client.closing && !client.input_ended && (hung_up || (revents & POLLIN) != 0)) {
    const Connection::ReadOutcome outcome = client.connection.ReadAvailable();
    if (outcome == Connection::ReadOutcome::kFailed) {
      client.dead = true;
      return;
    }
    client.input_ended = outcome == Connection::ReadOutcome::kEndOfStream;
  }
  if (!client.closing) {
    HandleInbound(client, now);
    if (client.dead) {
      return;
    }
    // A client that stopped sending still gets the answers to what it sent in
    // full; a packet it left half-sent is dropped with it.
    if (client.input_ended && !client.password_held) {
      client.closing = true;
    }
  }
  if (!client.authenticated && !client.closing &&
      now - client.connection.AcceptedAt() >= options_.auth_timeout) {
    client.dead = true;
    return;
  }
  Flush(client, now);
}

void RconServer::HandleInbound(Client& client, Clock::time_point now) {
  std::string& inbound = client.connection.Inbound();
  size_t offset = 0;
  client.password_held = false;
  while (!client.closing && !client.dead && !close_requested_) {
    ParseResult parsed = ParsePacket(std::string_view(inbound).substr(offset));
    if (parsed.status == ParseStatus::kIncomplete) {
      break;
    }
    if (parsed.status == ParseStatus::kMalformed) {
      client.dead = true;
      return;
    }
    if (parsed.packet.type == kTypeAuth && now < PasswordDue(client.peer.address)) {
      client.password_held = true;
      break;
    }
    offset += parsed.consumed;
    HandlePacket(client, std::move(parsed.packet), now);
  }
  inbound.erase(0, offset);
}

void RconServer::HandlePacket(Client& client, Packet packet, Clock::time_point now) {
  if (packet.type == kTypeAuth) {
    const bool accepted = !password_.empty() && packet.body == password_;
    RecordPassword(client.peer.address, accepted, now);
    AnswerPassword(client, packet.id, accepted);
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

Clock::time_point RconServer::PasswordDue(uint32_t address) const {
  const auto found = failures_.find(address);
  if (found == failures_.end() || found->second.count < options_.free_password_failures) {
    return Clock::time_point::min();
  }
  // Doubling from failure_delay, without overflow however many there were.
  Clock::duration delay = options_.failure_delay;
  for (int past = options_.free_password_failures; past < found->second.count; ++past) {
    if (delay >= options_.max_failure_delay) {
      break;
    }
    delay *= 2;
  }
  return found->second.last + std::min<Clock::duration>(delay, options_.max_failure_delay);
}

void RconServer::RecordPassword(uint32_t address, bool accepted, Clock::time_point now) {
  if (accepted) {
    failures_.erase(address);
    return;
  }
  if (failures_.size() >= kMaxRememberedAddresses && !failures_.contains(address)) {
    std::erase_if(failures_, [&](const auto& entry) {
      return now - entry.second.last >= options_.failure_memory;
    });
    if (failures_.size() >= kMaxRememberedAddresses) {
      failures_.erase(std::min_element(
          failures_.begin(), failures_.end(),
          [](const auto& a, const auto& b) { return a.second.last < b.second.last; }));
    }
  }
  Failures& failures = failures_[address];
  if (now - failures.last >= options_.failure_memory) {
    failures.count = 0;
  }
  ++failures.count;
  failures.last = now;
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

// Too much output left unread, a failed write, or a closing client whose
// output is all written: the client goes at the end of the pass.
void RconServer::Flush(Client& client, Clock::time_point now) {
  Connection& connection = client.connection;
  client.dead = client.dead || connection.PendingBytes() > options_.max_pending_output ||
                !connection.Flush(now, options_.auth_reply_pause) ||
                (client.closing && connection.PendingBytes() == 0);
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
    bytes += EncodePacket(request_id, type, part);
    at += part.size();
  } while (at < body.size());
  connection.Queue(std::move(bytes));
}

void RconServer::Accept(Clock::time_point now) {
  for (;;) {
    Accepted accepted = AcceptClient(listener_.Get());
    if (accepted.status == AcceptStatus::kOutOfResources) {
      // The waiting client stays queued and the listener readable: rest it,
      // or the loop spins until descriptors free up.
      accept_again_at_ = now + options_.accept_backoff;
      return;
    }
    if (accepted.status != AcceptStatus::kAccepted) {
      return;
    }
    if (clients_.size() >= options_.max_clients && !MakeRoom()) {
      continue;  // closed as it goes out of scope
    }
    const ClientId id = next_id_++;
    clients_.emplace(id, std::make_unique<Client>(Client{
                             id, Connection(std::move(accepted.socket), now), accepted.peer}));
  }
}

bool RconServer::MakeRoom() {
  const auto oldest = std::find_if(clients_.begin(), clients_.end(),
                                   [](const auto& entry) { return !entry.second->authenticated; });
  if (oldest == clients_.end()) {
    return false;
  }
  clients_.erase(oldest);
  return true;
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
