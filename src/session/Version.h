#pragma once
// The version banner, shared by the server's "version" reply and the
// verifier's --version.

namespace orvela {

/// The banner line of the "version" reply.
inline constexpr const char* versionBanner = "ORVELA version 1.0 Beta, Nov 2002 -- server.";

} // namespace orvela
