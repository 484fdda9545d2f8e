#pragma once
// A TCP server for line protocols, without blocking: bytes arrive through
// onReceived on the user-interface thread, sends are queued and leave when
// the client takes them. The Qt implementation uses QTcpServer.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ondaris {

class TcpListener {
 public:
  using ConnectionId = std::uint64_t;

  virtual ~TcpListener() = default;

  // Listens on `address` (an IPv4 or IPv6 address) and `port` (0: any free
  // port). False with `error` filled (for example the port is taken).
  virtual bool listen(const std::string& address, int port, std::string& error) = 0;
  // Stops listening and drops every connection.
  virtual void close() = 0;
  virtual bool listening() const = 0;
  // The port listened on (what the system chose when 0 was asked).
  virtual int port() const = 0;

  // Queues bytes for a client; never blocks.
  virtual void send(ConnectionId id, std::string_view bytes) = 0;
  // Bytes queued for a client and not yet taken by it.
  virtual std::size_t unsentBytes(ConnectionId id) const = 0;
  // Ends a connection; onDisconnected follows.
  virtual void disconnect(ConnectionId id) = 0;

  std::function<void(ConnectionId)> onConnected;
  // Received bytes, in order; a busy client's bytes come in slices, so that
  // one client never holds the window for long. Returns how many of them it
  // took: the rest stays with the listener and is offered again, first, on a
  // later turn of the event loop (while it waits, TCP slows the client).
  std::function<std::size_t(ConnectionId, std::string_view)> onReceived;
  std::function<void(ConnectionId)> onDisconnected;
};

}  // namespace ondaris
