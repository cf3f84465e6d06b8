// The automation servers of the platform, registered with CreateOleObject at start-up.
#pragma once

namespace servers {

// Registers every server under its programmatic identifiers; safe to call again.
void RegisterServers();

} // namespace servers
