// Start-up registration of the platform's automation servers.
#include "platform/servers/Servers.h"

#include "platform/servers/Management.h"
#include "platform/servers/Spreadsheet.h"

namespace servers {

void RegisterServers() {
    RegisterSpreadsheetServer();
    RegisterManagementServer();
}

} // namespace servers
