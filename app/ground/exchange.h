#pragma once
// Where every transfer connects: the exchange's FTP server and the broker's
// login there. The build names defaults (the demo exchange on this machine);
// an administrator names the real exchange in /etc/quorvin/exchange.ini, so
// that one installed program serves every broker.
#include <string>
#include <utility>

#include "build_config.h"

namespace quorvin {

inline constexpr const char* kExchangeConfigPath = "/etc/quorvin/exchange.ini";

struct ExchangeEndpoint {
  ExchangeEndpoint() = default;
  // Another server with the build's login (the tests' emulators).
  ExchangeEndpoint(std::string host, std::string port, int stallSeconds)
      : host(std::move(host)), port(std::move(port)), stallSeconds(stallSeconds) {}

  std::string host = QUORVIN_EXCHANGE_HOST;
  std::string port = QUORVIN_EXCHANGE_PORT;
  // The client gives up when the server stays silent this long, on connecting
  // or at any later step, so a stalled server cannot hold the window forever.
  int stallSeconds = 60;
  std::string user = QUORVIN_EXCHANGE_USER;
  std::string password = QUORVIN_EXCHANGE_PASSWORD;
  // Why no transfer may start with these values (the file that gave them is
  // unusable), or empty.
  std::string unusable;
};

// The build's values with those of the configuration file at `path` over
// them: lines "Key : value" with the keys Host, Port, User and Password, each
// optional; blank lines and lines starting with "#" are skipped. No file
// means the build's values. A file that cannot be read or holds a value that
// cannot be used gives an endpoint whose `unusable` names the file, the key
// and what is wrong.
ExchangeEndpoint ReadExchangeConfig(const std::string& path);

}  // namespace quorvin
