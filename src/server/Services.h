#pragma once
// The services the server offers, by name.

#include <string_view>

namespace orvela {

class Client;
class Session;

/// Reads a request from the client, serves it on the session and writes the
/// reply.
using ServiceHandler = void (*)(const Client& client, Session& session);

struct Service {
  const char* name;
  int code;
  /// Null for "quit", which ends the session.
  ServiceHandler handler;
};

/// Code of the "quit" service.
constexpr int quitService = 6;

/// The service whose name is exactly `name` (case-sensitive), or null.
const Service* findService(std::string_view name);

} // namespace orvela
